#include "link/link.h"

#include <algorithm>

namespace bm {

namespace {

constexpr qint16 kLastPort = 16;
constexpr qint16 kSilentTicksBeforeLoss = 4;
// Passes over the records that did not reply, after the first pass over all.
constexpr int kRepairPasses = 2;

// Turning on a timer that already runs must not restart its interval, or a
// repeated enable (watchdog, tab change) would keep pushing its next tick away.
void turnOn(QTimer& timer)
{
    if (!timer.isActive())
        timer.start();
}

} // namespace

Link::Link(Transport* port, QObject* parent)
    : QObject(parent), port_(port),
      findcom_(this), comunication_(this), readdat_(this), comtimout_(this), recheck_(this)
{
    const auto setUp = [this](QTimer& timer, const char* name, int interval, bool on, void (Link::*tick)()) {
        timer.setObjectName(QString::fromLatin1(name));
        timer.setInterval(interval);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, tick);
        if (on)
            timer.start();
    };
    setUp(findcom_, "Findcom", 300, false, &Link::findcomTick);
    setUp(comunication_, "comunication", 1000, true, &Link::comunicationTick);
    setUp(readdat_, "Readdat", 100, false, &Link::readdatTick);
    setUp(comtimout_, "COMtimout", 1000, true, &Link::comtimoutTick);
    setUp(recheck_, "recheck", 100, false, &Link::recheckTick);
    recheck_.setSingleShot(true);
    connect(port_, &Transport::received, this, &Link::onComm);
}

void Link::start() { turnOn(findcom_); }

void Link::stop()
{
    for (QTimer* timer : {&findcom_, &comunication_, &readdat_, &comtimout_, &recheck_})
        timer->stop();
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
    port_->clearOutput();
}

void Link::comopen(qint16 comport)
{
    if (port_->portOpen())
        port_->close();
    const OpenOutcome outcome = port_->openPort(comport);
    lastAttempt_ = {comport, outcome, port_->devicePath(),
                    outcome == OpenOutcome::Opened ? QString() : port_->lastError(),
                    outcome != OpenOutcome::Opened && port_->accessDenied()};
    emit portTried(lastAttempt_);
}

void Link::findcomTick()
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

void Link::comunicationTick()
{
    // During a download only record requests may go out: any other request in
    // between would have a record taken for a reading or the reverse.
    if (readdat_.isActive() || !comok_)
        return;
    sendcmd(realtime_ ? protocol::kReading : protocol::kHandshake);
}

void Link::readdatTick()
{
    if (repairPass_ > 0) {
        repairTick();
        return;
    }
    sendcmd(recordindex_);
    emit downloadProgress(recordindex_, recordcount_);
    if (recordindex_ >= recordcount_) {
        // Polling and the buttons come back now, as they always did; should a
        // record turn out missing, the repair pass takes them away again before
        // polling's first tick, which comes a whole second after it is turned on.
        recordindex_ = 0;
        readdat_.stop();
        turnOn(comunication_);
        setButtons(true);
        endPass();
    } else {
        ++recordindex_;
    }
}

void Link::comtimoutTick()
{
    if (timoutcount_ >= kSilentTicksBeforeLoss) {
        timoutcount_ = 0;
        comok_ = false;
        emit linkChanged(false);
        // A download cannot outlive the link: its requests would go to whatever
        // port the search opens next and overwrite the handshake's code there.
        // The controls come back when the search finds the tester again.
        const bool wasDownloading = readdat_.isActive() || recheck_.isActive() || repairPass_ > 0;
        readdat_.stop();
        recordindex_ = 0;
        turnOn(findcom_);
        if (wasDownloading)
            endDownload(false);
    } else {
        ++timoutcount_;
    }
}

void Link::onComm()
{
    rcvdata_ = port_->input();
    port_->clearInput();
    port_->clearOutput();
    timoutcount_ = 0;

    switch (protocol::route(comok_, cmdcode_)) {
    case protocol::Route::Handshake: handshake(); break;
    case protocol::Route::Record: recordReply(); break;
    case protocol::Route::Count: countReply(); break;
    case protocol::Route::Reading: readingReply(); break;
    case protocol::Route::Ignore: break;
    }
}

void Link::command1()
{
    if (realtime_ || !comok_)
        return;
    // A new download replaces one still checking or repairing its records.
    if (recheck_.isActive() || repairPass_ > 0) {
        readdat_.stop();
        endDownload(false);
    }
    comunication_.stop();
    setButtons(false);
    sendcmd(protocol::kCount);
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

void Link::countReply()
{
    // Record numbers stop at 10000; a larger count would run the requests into
    // the command codes.
    if (const auto count = protocol::decodeCount(rcvdata_))
        recordcount_ = std::min(*count, protocol::kMaxRecord);
    missing_ = 0;
    emit downloadStarted(std::max<int>(recordcount_, 0));
    if (recordcount_ > 0) {
        replied_.assign(size_t(recordcount_) + 1, false);
        recordindex_ = 1;
        turnOn(readdat_);
    } else {
        turnOn(comunication_);
        setButtons(true);
    }
}

void Link::recordReply()
{
    if (const auto m = protocol::decodeMeasurement(rcvdata_)) {
        if (size_t(cmdcode_) < replied_.size())
            replied_[size_t(cmdcode_)] = true;
        if (repairPass_ > 0)
            emit recordRepaired(cmdcode_, *m);
        else
            emit recordReceived(cmdcode_, *m);
    }
}

void Link::endPass()
{
    recheckWaited_ = false;
    recheck_.start(readdat_.interval());
}

void Link::recheckTick()
{
    // A poll went out since the last record request (polling ran on from a tab
    // change): its reply may still be on the line, and a repair request sent now
    // would take it for a record. It has had its time after one more interval.
    if (!recheckWaited_ && (cmdcode_ < 1 || cmdcode_ > protocol::kMaxRecord)) {
        recheckWaited_ = true;
        recheck_.start(readdat_.interval());
        return;
    }
    std::vector<qint16> missing = unanswered();
    if (missing.empty() || repairPass_ >= kRepairPasses) {
        missing_ = int(missing.size());
        endDownload(true);
        return;
    }
    ++repairPass_;
    repairs_ = std::move(missing);
    repairNext_ = 0;
    comunication_.stop();
    setButtons(false);
    repairTick(); // at once: still one request per Readdat interval
}

void Link::repairTick()
{
    if (repairNext_ >= repairs_.size()) // a tick after the pass ended asks for nothing
        return;
    sendcmd(repairs_[repairNext_++]);
    emit repairProgress(int(repairNext_), int(repairs_.size()));
    if (repairNext_ < repairs_.size()) {
        turnOn(readdat_);
        return;
    }
    readdat_.stop();
    endPass();
}

void Link::endDownload(bool complete)
{
    const bool repaired = repairPass_ > 0;
    recheck_.stop();
    repairPass_ = 0;
    repairs_.clear();
    // A lost link gives the controls back when the search finds the tester again.
    if (repaired && complete) {
        turnOn(comunication_);
        setButtons(true);
    }
    emit downloadEnded(complete);
}

std::vector<qint16> Link::unanswered() const
{
    std::vector<qint16> numbers;
    for (size_t k = 1; k < replied_.size(); ++k) {
        if (!replied_[k])
            numbers.push_back(qint16(k));
    }
    return numbers;
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
