#include "link/recorddownloader.h"

#include "link/protocol.h"

#include <algorithm>

namespace bm {

RecordDownloader::RecordDownloader(Transport* port, const DownloadSettings& settings, QObject* parent)
    : QObject(parent), port_(port), request_(port, this), pace_(this)
{
    pace_.setObjectName(QStringLiteral("Readdat"));
    pace_.setSingleShot(true);
    pace_.setTimerType(Qt::PreciseTimer);
    pace_.setInterval(kCompatibleIntervalMs);
    setSettings(settings);
    connect(&pace_, &QTimer::timeout, this, &RecordDownloader::paceTick);
    connect(&request_, &RetryingRequest::sent, this, &RecordDownloader::requestSent);
    connect(&request_, &RetryingRequest::replied, this, &RecordDownloader::onReplied);
    connect(&request_, &RetryingRequest::failed, this, &RecordDownloader::onFailed);
    connect(port_, &Transport::lost, this, [this] {
        request_.reset();
        if (running_)
            finish(DownloadEnd::LinkLost);
    });
}

void RecordDownloader::setSettings(const DownloadSettings& settings)
{
    settings_ = settings;
    request_.setTimeout(settings.timeoutMs);
    request_.setRetries(settings.retries);
}

void RecordDownloader::start()
{
    running_ = true;
    result_ = {};
    numbers_.clear();
    arrived_.clear();
    pace_.stop();
    request_.send(protocol::kCount);
}

void RecordDownloader::fetch(QList<int> numbers) // a copy: it may be the last result's list
{
    running_ = true;
    result_ = {};
    if (!numbers.isEmpty()) {
        result_.first = numbers.front();
        result_.last = numbers.back();
    }
    begin(numbers);
    due_ = true;
    step();
}

void RecordDownloader::stop()
{
    if (running_)
        finish(DownloadEnd::Stopped);
}

void RecordDownloader::abandon()
{
    request_.reset();
    stop();
}

void RecordDownloader::paceTick()
{
    due_ = true;
    step();
}

void RecordDownloader::onReplied(qint16 code, const QByteArray& reply)
{
    if (!running_)
        return;
    if (code == protocol::kCount) {
        onCount(reply);
        return;
    }
    if (const auto m = protocol::decodeMeasurement(reply)) {
        arrived_[next_ - 1] = true;
        emit recordReceived(code, *m);
    }
    answered_ = true;
    step();
}

void RecordDownloader::onCount(const QByteArray& reply)
{
    std::optional<int> count = protocol::decodeCount(reply);
    if (!count)
        count = settings_.countIfUnreadable;
    settleCount(count);
}

void RecordDownloader::onFailed(qint16 code)
{
    if (!running_)
        return;
    if (code == protocol::kCount) {
        finish(DownloadEnd::NoCount);
        return;
    }
    answered_ = true; // left missing: reported at the end
    step();
}

void RecordDownloader::settleCount(std::optional<int> count)
{
    if (!count) {
        finish(DownloadEnd::NoCount);
        return;
    }
    // Record numbers stop at 10000: beyond that the codes are commands.
    result_.count = std::clamp(*count, 0, int(protocol::kMaxRecord));
    result_.first = std::max(1, settings_.first);
    result_.last = settings_.last > 0 ? std::min(settings_.last, result_.count) : result_.count;
    QList<int> numbers;
    for (int n = result_.first; n <= result_.last; ++n)
        numbers.append(n);
    begin(numbers);
    emit rangeKnown(result_.first, result_.last, result_.count);
    if (!running_)
        return; // a receiver stopped the download
    if (settings_.pace == Pace::Compatible && !numbers_.isEmpty()) {
        due_ = false;
        pace_.start(); // the first record one tick after the count
    } else {
        step();
    }
}

void RecordDownloader::begin(const QList<int>& numbers)
{
    numbers_ = numbers;
    arrived_.fill(false, numbers.size());
    next_ = 0;
    answered_ = true;
}

// The next request, or the end, once the last request is settled and (paced)
// its tick has come.
void RecordDownloader::step()
{
    if (!running_ || !answered_ || (settings_.pace == Pace::Compatible && !due_))
        return;
    if (next_ >= numbers_.size()) {
        finish(DownloadEnd::Complete);
        return;
    }
    const int number = numbers_.at(next_++);
    answered_ = false;
    due_ = false;
    if (settings_.pace == Pace::Compatible)
        pace_.start();
    request_.send(static_cast<qint16>(number));
    emit recordRequested(number, int(next_), int(numbers_.size()));
}

void RecordDownloader::finish(DownloadEnd end)
{
    running_ = false;
    request_.cancel();
    pace_.stop();
    result_.missing.clear();
    for (qsizetype i = 0; i < arrived_.size(); ++i) {
        if (!arrived_[i])
            result_.missing.append(numbers_.at(i));
    }
    if (end == DownloadEnd::Complete && !result_.missing.isEmpty())
        end = DownloadEnd::Incomplete;
    result_.end = end;
    emit finished(result_);
}

} // namespace bm
