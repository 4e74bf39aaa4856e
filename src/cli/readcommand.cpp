#include "cli/readcommand.h"

#include "cli/cli.h"
#include "cli/interruptwatch.h"
#include "cli/readingformat.h"
#include "cli/testerport.h"
#include "link/protocol.h"
#include "link/retryingrequest.h"

#include <QDateTime>
#include <QTimer>

namespace bm::cli {

namespace {

constexpr int kReadIntervalMs = 1000;

// Asks for the reading every second until enough have been printed, the
// tester falls silent, or the user interrupts.
class LiveReader : public QObject {
    Q_OBJECT
public:
    LiveReader(Transport* port, const ReadOptions& options) : options_(options), request_(port, this), tick_(this)
    {
        tick_.setInterval(kReadIntervalMs);
        tick_.setTimerType(Qt::PreciseTimer);
        connect(&tick_, &QTimer::timeout, this, &LiveReader::ask);
        connect(&request_, &RetryingRequest::replied, this, &LiveReader::print);
        connect(&request_, &RetryingRequest::failed, this, [this] { end(kIncomplete); });
        connect(port, &Transport::lost, this, [this] { end(kIncomplete); });
    }

    void start()
    {
        if (options_.format == ReadFormat::Csv)
            writeOut((readingCsvHeader() + QLatin1Char('\n')).toUtf8());
        tick_.start();
        ask();
    }
    int status() const { return status_; }

signals:
    void ended();

private:
    void ask()
    {
        // Never two requests waiting: a slow reply is let finish first.
        if (!request_.ownsLine())
            request_.send(protocol::kReading);
    }

    void print(qint16, const QByteArray& reply)
    {
        const auto m = protocol::decodeMeasurement(reply);
        if (!m)
            return;
        writeOut((readingLine(options_.format, QDateTime::currentDateTime(), *m) + QLatin1Char('\n')).toUtf8());
        if (!options_.follow && ++printed_ >= options_.count)
            end(kDone);
    }

    void end(int status)
    {
        if (status == kIncomplete)
            complain(Cli::tr("the tester stopped answering"));
        status_ = status;
        tick_.stop();
        request_.cancel();
        emit ended();
    }

    ReadOptions options_;
    RetryingRequest request_;
    QTimer tick_;
    int printed_ = 0;
    int status_ = kIncomplete;
};

} // namespace

int runRead(const ReadOptions& options, const InterruptWatch& watch)
{
    CommPort port;
    if (const int status = connectTester(port, options.port, watch); status != kDone)
        return status;
    LiveReader reader(&port, options);
    if (!waitFor(&reader, &LiveReader::ended, watch, [&reader] { reader.start(); }))
        return kInterrupted;
    return reader.status();
}

} // namespace bm::cli

#include "readcommand.moc"
