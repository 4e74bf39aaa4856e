#include "link/link.h"

#include <algorithm>
#include <utility>

namespace bm {

namespace {

constexpr qint16 kLastPort = 16;
constexpr qint16 kSilentTicksBeforeLoss = 4;
// Passes over the records that did not reply, after the first pass over all.
constexpr int kRepairPasses = 2;
// A record's reply later than this is not waited for: the line settles as long
// again before the next request, so it cannot be taken for another record.
constexpr int kRecordTimeoutMs = 500;

// Turning on a timer that already runs must not restart its interval, or a
// repeated enable (watchdog, tab change) would keep pushing its next tick away.
void turnOn(QTimer& timer)
{
    if (!timer.isActive())
        timer.start();
}

} // namespace

Link::Link(Transport* port, QObject* parent)
    : QObject(parent), port_(port), findcom_(this), comunication_(this), comtimout_(this)
{
    const auto setUp = [this](QTimer& timer, const char* name, int interval, bool on, void (Link::*tick)()) {
        timer.setObjectName(QString::fromLatin1(name));
        timer.setInterval(interval);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, tick);
        if (on)
            timer.start();
    };
    setUp(findcom_, "Findcom", 300, false, &Link::searchTick);
    setUp(comunication_, "comunication", 1000, true, &Link::pollTick);
    setUp(comtimout_, "COMtimout", 1000, true, &Link::watchdogTick);
    // Connected before the download engine: every receive event feeds the
    // watchdog first, whoever then reads the bytes.
    connect(port_, &Transport::received, this, &Link::onReceived);
    download_ = new RecordDownloader(port_, {}, this);
    connect(download_, &RecordDownloader::requestSent, this, [this](qint16 code) { cmdcode_ = code; });
    connect(download_, &RecordDownloader::rangeKnown, this, [this](int, int, int count) { onRangeKnown(count); });
    connect(download_, &RecordDownloader::recordRequested, this, &Link::onRecordRequested);
    connect(download_, &RecordDownloader::recordReceived, this, &Link::onRecordReceived);
    connect(download_, &RecordDownloader::finished, this, &Link::onPassFinished);
}

LinkState Link::state() const
{
    if (!comok_)
        return LinkState::Searching;
    switch (pass_) {
    case 0: return LinkState::Linked;
    case 1: return LinkState::Downloading;
    default: return LinkState::Repairing;
    }
}

void Link::start() { turnOn(findcom_); }

void Link::stop()
{
    for (QTimer* timer : {&findcom_, &comunication_, &comtimout_})
        timer->stop();
    pass_ = 0;
    download_->abandon();
}

void Link::sendcmd(qint16 code)
{
    if (!port_->portOpen())
        return;
    port_->setRThreshold(protocol::receiveThreshold(code));
    cmdcode_ = code;
    // Stale bytes go before the request: once it is out, a quick reply may
    // already be arriving and must not be thrown away.
    port_->clearInput();
    port_->output(protocol::requestFrame(code));
    replyDue_ = true;
}

void Link::comopen(qint16 comport)
{
    if (port_->portOpen())
        port_->close();
    replyDue_ = false; // nothing of the old port's can arrive on the new one
    const OpenOutcome outcome = port_->openPort(comport);
    emit portTried({comport, outcome, port_->devicePath(),
                    outcome == OpenOutcome::Opened ? QString() : port_->lastError(),
                    outcome != OpenOutcome::Opened && port_->accessDenied()});
}

void Link::searchTick()
{
    if (comok_) {
        findcom_.stop();
        turnOn(comunication_);
        setButtons(true);
        return;
    }
    comopen(comnum_);
    sendcmd(protocol::kHandshake);
    comnum_ = comnum_ < kLastPort ? static_cast<qint16>(comnum_ + 1) : qint16(1);
}

void Link::pollTick()
{
    // During a download only its own requests may go out: any other request in
    // between would have a record taken for a reading or the reverse.
    if (pass_ != 0 || !comok_)
        return;
    sendcmd(realtime_ ? protocol::kReading : protocol::kHandshake);
}

void Link::watchdogTick()
{
    if (timoutcount_ < kSilentTicksBeforeLoss) {
        ++timoutcount_;
        return;
    }
    timoutcount_ = 0;
    comok_ = false;
    emit linkChanged(false);
    // A download cannot outlive the link: its requests would go to whatever
    // port the search opens next. The controls come back when the search finds
    // the tester again.
    const bool wasDownloading = pass_ != 0;
    pass_ = 0;
    download_->abandon();
    turnOn(findcom_);
    if (wasDownloading)
        emit downloadEnded(false);
}

void Link::onReceived()
{
    timoutcount_ = 0;
    if (download_->ownsLine())
        return; // a reply the download waits for: it reads it
    rcvdata_ = port_->input();
    port_->clearInput();
    replyDue_ = false;

    switch (protocol::route(comok_, cmdcode_)) {
    case protocol::Route::Handshake: handshake(); break;
    case protocol::Route::Reading: readingReply(); break;
    // Counts and records are the download's; one that reaches here came after
    // its request was given up, and answers nothing.
    case protocol::Route::Record:
    case protocol::Route::Count:
    case protocol::Route::Ignore: break;
    }
}

void Link::readRecords()
{
    if (realtime_ || !comok_)
        return;
    if (pass_ != 0) { // a new download replaces one still running
        pass_ = 0;
        download_->stop();
        emit downloadEnded(false);
    }
    comunication_.stop();
    setButtons(false);
    pass_ = 1;
    missing_ = 0;
    DownloadSettings settings;
    settings.pace = Pace::Compatible;
    settings.timeoutMs = kRecordTimeoutMs;
    settings.retries = 0; // the repair passes ask again, after the whole first pass
    settings.countIfUnreadable = recordcount_;
    download_->setSettings(settings);
    // A poll's reply still on its way would be taken for the count: the count
    // waits until the line has been quiet.
    if (std::exchange(replyDue_, false))
        download_->request().expectOthersReply();
    download_->start();
}

void Link::selectTab(bool realtimeTab)
{
    realtime_ = realtimeTab;
    turnOn(comunication_);
    setButtons(true);
}

void Link::setButtons(bool enabled)
{
    buttons_ = enabled;
    emit buttonsEnabled(enabled);
}

void Link::handshake()
{
    if (!protocol::isHandshakeReply(rcvdata_))
        return;
    comok_ = true;
    emit linkChanged(true);
}

void Link::onRangeKnown(int count)
{
    recordcount_ = qint16(count);
    emit downloadStarted(count);
    if (count <= 0) {
        pass_ = 0;
        turnOn(comunication_);
        setButtons(true);
    }
}

void Link::onRecordRequested(int number, int done, int total)
{
    if (pass_ > 1) {
        emit repairProgress(done, total);
        return;
    }
    emit downloadProgress(number, recordcount_);
    if (done == total) {
        // Polling and the buttons come back with the last request, as they always
        // did; polling sends nothing until the download has settled, and should a
        // record turn out missing, the repair pass takes them away again.
        turnOn(comunication_);
        setButtons(true);
    }
}

void Link::onRecordReceived(int number, const Measurement& measurement)
{
    if (pass_ > 1)
        emit recordRepaired(number, measurement);
    else
        emit recordReceived(number, measurement);
}

void Link::onPassFinished(const DownloadResult& result)
{
    if (pass_ == 0)
        return; // ended by the link, a new download or closing
    switch (result.end) {
    case DownloadEnd::NoCount:
        // As without a reply at all: the controls stay off until the watchdog
        // and the search bring the link back.
        pass_ = 0;
        return;
    case DownloadEnd::LinkLost:
    case DownloadEnd::Stopped:
        pass_ = 0;
        emit downloadEnded(false);
        return;
    case DownloadEnd::Complete:
    case DownloadEnd::Incomplete: break;
    }
    if (result.missing.isEmpty() || pass_ > kRepairPasses) {
        missing_ = int(result.missing.size());
        endDownload(true);
        return;
    }
    ++pass_;
    comunication_.stop();
    setButtons(false);
    download_->fetch(result.missing);
}

void Link::endDownload(bool complete)
{
    const bool repaired = pass_ > 1;
    pass_ = 0;
    if (repaired && complete) {
        turnOn(comunication_);
        setButtons(true);
    }
    emit downloadEnded(complete);
}

void Link::readingReply()
{
    if (const auto m = protocol::decodeMeasurement(rcvdata_)) {
        reading_.apply(*m);
        emit readingChanged(reading_);
        emit measurementReceived(*m);
    }
}

} // namespace bm
