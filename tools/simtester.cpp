#include "simtester.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace bm {

namespace {

constexpr quint8 kMarker = 0x77;
constexpr quint16 kHandshake = 11000;
constexpr quint16 kCount = 12000;
constexpr quint16 kReading = 13000;
constexpr quint16 kLastRecord = 10000;
constexpr quint16 kOverload = 10000;
constexpr int kRequestBytes = 3;
constexpr qint64 kWireBytesPerSecond = 960; // 9600 baud, 8N1: 10 bits a byte
constexpr qint64 kNsPerSecond = 1'000'000'000;

// Time for n bytes to cross the wire, rounded up so no byte is early.
qint64 wireNs(qint64 n) { return (n * kNsPerSecond + kWireBytesPerSecond - 1) / kWireBytesPerSecond; }
// Whole bytes the wire has carried in that time.
qint64 wireBytesIn(qint64 ns) { return ns * kWireBytesPerSecond / kNsPerSecond; }

void putLe(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

// Small deterministic generator: the same seed gives the same records on
// every machine, which std:: distributions do not promise.
struct Lcg {
    quint32 state;
    quint32 next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int between(int lo, int hi) { return lo + int(next() % quint32(hi - lo + 1)); }
};

SimReading plausible(SimTester::Mode mode, Lcg& rng)
{
    SimReading r;
    r.flags = 0;
    switch (mode) {
    case SimTester::Voltage:
        r.format = 0x51;                       // V, 1 decimal
        r.main = quint16(rng.between(0, 300)); // up to 30.0 V of interference
        r.rc = 0;
        r.rp = 0;
        r.spacing = 0;
        break;
    case SimTester::Resistance:
        if (rng.between(0, 3) == 0) {
            r.format = 0x21; // KΩ, 1 decimal
            r.main = quint16(rng.between(10, 999));
        } else {
            r.format = 0x12; // Ω, 2 decimals
            r.main = quint16(rng.between(20, 9999));
        }
        r.rc = quint16(rng.between(30, 400));
        r.rp = quint16(rng.between(30, 400));
        r.spacing = 0;
        break;
    case SimTester::Resistivity:
        if (rng.between(0, 3) == 0) {
            r.format = 0x42; // KΩm, 2 decimals
            r.main = quint16(rng.between(100, 2000));
        } else {
            r.format = 0x31; // Ωm, 1 decimal
            r.main = quint16(rng.between(50, 9999));
        }
        r.rc = quint16(rng.between(30, 400));
        r.rp = quint16(rng.between(30, 400));
        r.spacing = quint16(rng.between(10, 500));
        break;
    }
    if (rng.between(0, 29) == 0)
        r.main = kOverload;
    return r;
}

SimTester::Mode modeOf(quint8 format)
{
    switch (format >> 4) {
    case 0x5: return SimTester::Voltage;
    case 0x3:
    case 0x4: return SimTester::Resistivity;
    default: return SimTester::Resistance;
    }
}

} // namespace

QByteArray SimReading::bytes() const
{
    QByteArray out;
    out.reserve(10);
    putLe(out, main);
    out.append(char(format));
    out.append(char(flags));
    putLe(out, rc);
    putLe(out, rp);
    putLe(out, spacing);
    return out;
}

SimTester::SimTester(QObject* parent) : QObject(parent), paceTimer_(new QTimer(this)), wireTimer_(new QTimer(this))
{
    paceTimer_->setTimerType(Qt::PreciseTimer);
    paceTimer_->setInterval(10);
    connect(paceTimer_, &QTimer::timeout, this, &SimTester::pump);
    wireTimer_->setTimerType(Qt::PreciseTimer);
    wireTimer_->setSingleShot(true);
    connect(wireTimer_, &QTimer::timeout, this, &SimTester::wireTick);
    wireClock_.start();
}

SimTester::~SimTester()
{
    closePty();
    removeLink();
}

// Only ever a symlink: a file someone put at that path is not ours to delete.
void SimTester::removeLink()
{
    if (!linkPath_.isEmpty() && QFileInfo(linkPath_).isSymLink())
        QFile::remove(linkPath_);
}

bool SimTester::start()
{
    if (isRunning())
        return true;
    return openPty();
}

bool SimTester::isRunning() const { return masterFd_ >= 0; }

QString SimTester::portPath() const { return linkPath_.isEmpty() ? devicePath_ : linkPath_; }

void SimTester::setLinkPath(const QString& path)
{
    if (linkPath_ != path)
        removeLink();
    linkPath_ = path;
    updateLink();
}

bool SimTester::openPty()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    // Not inherited: a program started from here (a test's child process)
    // holding the master would keep the line alive after vanish().
    if (master >= 0)
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
    if (master < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || !(name = ::ptsname(master))) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(master);
        return false;
    }
    const QString slavePath = QString::fromLocal8Bit(name);
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(master);
        return false;
    }
    // Raw both ways: no echo, no CR/LF mapping, no XON/XOFF, so every byte
    // value crosses untouched.
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        tio.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    masterFd_ = master;
    slaveFd_ = slave;
    devicePath_ = slavePath;
    frame_.clear();
    outQueue_.clear();
    ++generation_;

    readNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &SimTester::onReadable);
    writeNotifier_ = new QSocketNotifier(masterFd_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &SimTester::onWritable);
    updateLink();
    return true;
}

void SimTester::closePty()
{
    ++generation_;
    paceTimer_->stop();
    wireTimer_->stop();
    wireQueue_.clear();
    wireFreeNs_ = 0;
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    if (masterFd_ >= 0)
        ::close(masterFd_);
    slaveFd_ = -1;
    masterFd_ = -1;
    devicePath_.clear();
    outQueue_.clear();
    frame_.clear();
}

void SimTester::updateLink()
{
    if (linkPath_.isEmpty() || devicePath_.isEmpty())
        return;
    const QFileInfo existing(linkPath_);
    if (existing.exists() && !existing.isSymLink()) {
        error_ = QStringLiteral("%1 exists and is not a symlink").arg(linkPath_);
        return;
    }
    // Replace the link in one step so an opener never finds it half made.
    const QString tmp = linkPath_ + QStringLiteral(".new");
    QFile::remove(tmp);
    if (::symlink(QFile::encodeName(devicePath_).constData(), QFile::encodeName(tmp).constData()) != 0
        || ::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(linkPath_).constData()) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(tmp);
    }
}

void SimTester::vanish()
{
    if (!isRunning())
        return;
    closePty();
    removeLink();
    emit vanished();
}

bool SimTester::reappear()
{
    if (isRunning())
        return true;
    if (!openPty())
        return false;
    emit reappeared(devicePath_);
    return true;
}

// ---- Reading ----

void SimTester::setMode(Mode mode)
{
    Lcg rng{quint32(mode) * 7919u};
    SimReading r = plausible(mode, rng);
    r.flags = reading_.flags;
    if (r.main == kOverload)
        r.main = 1234;
    reading_ = r;
}

SimTester::Mode SimTester::mode() const { return modeOf(reading_.format); }

void SimTester::setReading(const SimReading& reading) { reading_ = reading; }

void SimTester::setFlags(quint8 flags) { reading_.flags = flags; }

void SimTester::setRawReading(const QByteArray& bytes) { rawReading_ = bytes; }

void SimTester::varyReading()
{
    Lcg rng{varyState_};
    // Now and then the user turns the tester's dial to another mode.
    if (rng.between(0, 39) == 0) {
        const Mode next = Mode(1 + (int(mode()) % 3));
        const quint8 flags = reading_.flags;
        reading_ = plausible(next, rng);
        reading_.flags = flags;
    } else {
        // Drift by up to about 3 % so the value looks alive.
        auto drift = [&rng](quint16 v, int lo, int hi) {
            if (v == kOverload)
                return quint16(rng.between(lo, hi));
            const int step = std::max(1, int(v) / 30);
            int n = int(v) + rng.between(-step, step);
            if (n == kOverload)
                ++n;
            return quint16(std::clamp(n, lo, hi));
        };
        reading_.main = drift(reading_.main, 0, 9999);
        if (mode() != Voltage) {
            reading_.rc = drift(reading_.rc, 10, 999);
            reading_.rp = drift(reading_.rp, 10, 999);
        }
        if (rng.between(0, 59) == 0)
            reading_.main = kOverload;
    }
    // Warning marks come and go: noise and high voltage briefly, low battery
    // once it has come stays a long while.
    quint8 f = reading_.flags;
    if (rng.between(0, 14) == 0)
        f ^= 0x04;
    if (rng.between(0, 24) == 0)
        f ^= 0x08;
    if (!(f & 0x10) ? rng.between(0, 99) == 0 : rng.between(0, 199) == 0)
        f ^= 0x10;
    reading_.flags = f;
    varyState_ = rng.state;
}

// ---- Records ----

QList<SimReading> SimTester::plausibleRecords(int n, quint32 seed)
{
    QList<SimReading> out;
    out.reserve(std::max(0, n));
    Lcg rng{seed};
    for (int i = 0; i < n; ++i) {
        // Mostly resistance, some resistivity, a few voltage checks.
        const int pick = rng.between(0, 9);
        const Mode m = pick < 6 ? Resistance : pick < 9 ? Resistivity : Voltage;
        out.append(plausible(m, rng));
    }
    return out;
}

void SimTester::setRecords(const QList<SimReading>& records)
{
    records_.clear();
    records_.reserve(records.size());
    for (const SimReading& r : records)
        records_.append(r.bytes());
}

void SimTester::setRawRecords(const QList<QByteArray>& records) { records_ = records; }

void SimTester::generateRecords(int n, quint32 seed) { setRecords(plausibleRecords(n, seed)); }

QByteArray SimTester::recordBytes(int number) const
{
    if (number < 1 || number > records_.size())
        return {};
    return records_.at(number - 1);
}

// ---- Replies ----

void SimTester::setReplyFor(quint16 code, const QByteArray& bytes) { overrides_.insert(code, bytes); }

void SimTester::clearReplyOverrides() { overrides_.clear(); }

void SimTester::setChunking(int chunkBytes, int gapMs)
{
    chunkBytes_ = std::max(0, chunkBytes);
    chunkGapMs_ = std::max(0, gapMs);
}

void SimTester::setLineRate(int bytesPerSecond)
{
    lineRate_ = std::max(0, bytesPerSecond);
    if (lineRate_ == 0)
        paceTimer_->stop();
    pump();
}

void SimTester::setWirePacing(bool on)
{
    wire_ = on;
    if (on)
        return;
    wireTimer_->stop();
    for (const WireReply& r : std::as_const(wireQueue_))
        enqueue(r.bytes.mid(r.sent));
    wireQueue_.clear();
    wireFreeNs_ = 0;
}

void SimTester::setDropRate(double fraction)
{
    dropRate_ = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

void SimTester::setLateReplies(double fraction, int extraMs)
{
    lateRate_ = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    lateMs_ = std::max(0, extraMs);
}

bool SimTester::dropNextReply() { return draw(dropRate_); }

bool SimTester::draw(double fraction)
{
    if (fraction <= 0.0)
        return false;
    Lcg rng{dropState_};
    const quint32 value = rng.next(); // 24 bits
    dropState_ = rng.state;
    return double(value) < fraction * double(1u << 24);
}

int SimTester::requestCount(quint16 code) const { return int(requests_.count(code)); }

void SimTester::clearRequests()
{
    requests_.clear();
    received_.clear();
}

void SimTester::onReadable()
{
    char buf[512];
    const ssize_t n = ::read(masterFd_, buf, sizeof buf);
    if (n <= 0) {
        // EIO here only means no slave is open; we hold one, so this is rare.
        // Back off instead of spinning on a notifier that stays ready.
        if (n < 0 && errno != EAGAIN && errno != EINTR && readNotifier_) {
            readNotifier_->setEnabled(false);
            const quint64 gen = generation_;
            QTimer::singleShot(50, this, [this, gen] {
                if (gen == generation_ && readNotifier_)
                    readNotifier_->setEnabled(true);
            });
        }
        return;
    }
    const QByteArray chunk(buf, int(n));
    received_.append(chunk);
    emit bytesReceived(chunk);
    for (char c : chunk) {
        if (frame_.isEmpty() && quint8(c) != kMarker)
            continue; // line noise between frames
        frame_.append(c);
        if (frame_.size() == 3) {
            const quint16 code = quint16(quint8(frame_[1]) | (quint8(frame_[2]) << 8));
            frame_.clear();
            handleRequest(code);
        }
    }
}

void SimTester::handleRequest(quint16 code)
{
    requests_.append(code);
    emit requestReceived(code);
    if (silent_)
        return;
    QByteArray reply = replyFor(code);
    if (reply.isEmpty())
        return;
    if (dropNextReply()) {
        emit replyDropped(code);
        return;
    }
    if (truncate_ >= 0)
        reply.truncate(truncate_);
    if (doubleReplies_)
        reply += reply;
    sendReply(code, reply);
}

QByteArray SimTester::replyFor(quint16 code)
{
    if (overrides_.contains(code))
        return overrides_.value(code);
    if (code == kHandshake)
        return QByteArray::fromHex("775577");
    if (code == kCount) {
        QByteArray out;
        putLe(out, quint16(reportedCount_ >= 0 ? reportedCount_ : int(records_.size())));
        return out;
    }
    if (code == kReading) {
        if (vary_)
            varyReading();
        return rawReading_.isEmpty() ? reading_.bytes() : rawReading_;
    }
    if (code >= 1 && code <= kLastRecord)
        return recordBytes(code);
    return {};
}

void SimTester::sendReply(quint16 code, const QByteArray& bytes)
{
    emit replied(code, bytes);
    const int delayMs = delayMs_ + (draw(lateRate_) ? lateMs_ : 0);
    if (wire_) {
        // The pty hands the request over at once; on a cable its last byte
        // lands three byte times after the first, so the reply waits that long.
        const qint64 now = wireClock_.nsecsElapsed();
        scheduleOnWire(bytes, now + qint64(delayMs) * 1'000'000 + wireNs(kRequestBytes));
        return;
    }
    QList<QByteArray> pieces;
    if (chunkBytes_ > 0) {
        for (qsizetype at = 0; at < bytes.size(); at += chunkBytes_)
            pieces.append(bytes.mid(at, chunkBytes_));
    } else {
        pieces.append(bytes);
    }
    const quint64 gen = generation_;
    for (int i = 0; i < pieces.size(); ++i) {
        const int due = delayMs + i * chunkGapMs_;
        if (due == 0) {
            enqueue(pieces.at(i));
            continue;
        }
        QTimer::singleShot(due, Qt::PreciseTimer, this, [this, gen, piece = pieces.at(i)] {
            if (gen == generation_)
                enqueue(piece);
        });
    }
}

void SimTester::inject(const QByteArray& bytes)
{
    emit replied(0, bytes);
    if (wire_)
        scheduleOnWire(bytes, wireClock_.nsecsElapsed());
    else
        enqueue(bytes);
}

// Replies take the line one after another: a reply never starts before the
// one ahead of it has ended, however early its request came.
void SimTester::scheduleOnWire(const QByteArray& bytes, qint64 earliestNs)
{
    if (!isRunning() || bytes.isEmpty())
        return;
    const qint64 start = std::max(earliestNs, wireFreeNs_);
    wireFreeNs_ = start + wireNs(bytes.size());
    wireQueue_.append(WireReply{start, bytes, 0});
    if (!wireTimer_->isActive())
        wireTick();
}

// Writes every byte whose time has come, then sleeps until the next one is
// due. Timers wake in whole milliseconds, so a tick may send two bytes; the
// count comes from the clock, so the pace never drifts and no byte is early.
void SimTester::wireTick()
{
    const qint64 now = wireClock_.nsecsElapsed();
    while (!wireQueue_.isEmpty()) {
        WireReply& r = wireQueue_.first();
        const qsizetype due =
            now < r.startNs ? 0 : qsizetype(std::min<qint64>(r.bytes.size(), wireBytesIn(now - r.startNs)));
        if (due > r.sent) {
            const QByteArray part = r.bytes.mid(r.sent, due - r.sent);
            r.sent = due;
            enqueue(part);
        }
        if (r.sent < r.bytes.size()) {
            const qint64 next = r.startNs + wireNs(r.sent + 1);
            wireTimer_->start(int((next - now + 999'999) / 1'000'000));
            return;
        }
        wireQueue_.removeFirst();
    }
}

void SimTester::enqueue(const QByteArray& bytes)
{
    if (!isRunning())
        return;
    outQueue_.append(bytes);
    if (lineRate_ > 0) {
        if (!paceTimer_->isActive())
            paceTimer_->start();
        return;
    }
    pump();
}

void SimTester::onWritable() { pump(); }

void SimTester::pump()
{
    if (!isRunning() || outQueue_.isEmpty()) {
        if (writeNotifier_)
            writeNotifier_->setEnabled(false);
        paceTimer_->stop();
        return;
    }
    qsizetype budget = outQueue_.size();
    if (lineRate_ > 0)
        budget = std::min<qsizetype>(budget, std::max(1, lineRate_ / 100));
    const ssize_t n = ::write(masterFd_, outQueue_.constData(), size_t(budget));
    if (n > 0)
        outQueue_.remove(0, n);
    // The line is full (the program is not reading): wait until it drains.
    const bool blocked = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (lineRate_ > 0) {
        if (outQueue_.isEmpty())
            paceTimer_->stop();
        return;
    }
    writeNotifier_->setEnabled(!outQueue_.isEmpty() && (blocked || n > 0));
}

} // namespace bm
