#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace bm {

// One measurement as the tester sends it: raw counts with their format bytes.
// The same ten bytes serve as the live reading (13000) and as a stored record.
struct SimReading {
    quint16 main = 1234;  // raw count of the main value
    quint8 format = 0x12; // high nibble unit code, low nibble decimals
    quint8 flags = 0;     // 0x04 noise, 0x08 high voltage, 0x10 low battery
    quint16 rc = 123;     // Rc, shown as KΩ with 2 decimals
    quint16 rp = 456;     // Rp, likewise
    quint16 spacing = 50; // electrode spacing, m with 1 decimal

    // The ten wire bytes, 16-bit values low byte first.
    QByteArray bytes() const;
};

// A simulated tester on a pseudo-terminal. The program under test opens the
// slave side (devicePath(), or the stable linkPath()); the simulator answers
// on the master side from the caller's event loop, so tests can run it
// in-process next to the code they drive.
//
// Requests are 0x77, code low, code high. Replies:
//   11000 -> 77 55 77, 12000 -> record count (2 bytes LE),
//   13000 -> the current reading (10 bytes), 1..10000 -> stored record n
//   (10 bytes; nothing for a record it does not hold), other codes -> nothing.
class SimTester : public QObject {
    Q_OBJECT
public:
    enum Mode { Voltage = 1, Resistance = 2, Resistivity = 3 };

    explicit SimTester(QObject* parent = nullptr);
    ~SimTester() override;

    // Creates the pseudo-terminal (and the link, when a link path is set).
    // False with errorString() when the system refuses.
    bool start();
    bool isRunning() const;
    QString errorString() const { return error_; }

    // The slave device of the current pseudo-terminal, e.g. /dev/pts/4
    // ("" when not running).
    QString devicePath() const { return devicePath_; }
    // A symlink kept pointing at the current slave, so a path list can name
    // a stable path across vanish()/reappear(). Set before or after start().
    // An existing file that is not a symlink is left alone (see errorString()).
    void setLinkPath(const QString& path);
    QString linkPath() const { return linkPath_; }
    // linkPath() when set, else devicePath(): the path to give the program.
    QString portPath() const;

    // ---- The live reading (13000) ----
    // Sets a plausible reading of that mode (voltage 0x5x, resistance 0x1x/0x2x,
    // resistivity 0x3x/0x4x), keeping the flags.
    void setMode(Mode mode);
    Mode mode() const;
    void setReading(const SimReading& reading);
    SimReading reading() const { return reading_; }
    void setFlags(quint8 flags);
    // Sent verbatim instead of the reading; an empty array goes back to the reading.
    void setRawReading(const QByteArray& bytes);
    // Lets values and warning flags drift plausibly on every live request.
    void setVary(bool on) { vary_ = on; }

    // ---- Stored records ----
    void setRecords(const QList<SimReading>& records);
    // Raw ten-byte (or any length) records, sent as given.
    void setRawRecords(const QList<QByteArray>& records);
    // n plausible records of mixed kinds, the same for the same seed.
    void generateRecords(int n, quint32 seed = 1);
    static QList<SimReading> plausibleRecords(int n, quint32 seed = 1);
    int recordCount() const { return int(records_.size()); }
    QByteArray recordBytes(int number) const; // 1-based; empty when not held
    // Reported by 12000 instead of the number of records held (e.g. 40000).
    void setReportedCount(int count) { reportedCount_ = count; }
    void clearReportedCount() { reportedCount_ = -1; }

    // ---- Replies, timing and faults ----
    // Replaces the reply to one code (e.g. a wrong handshake); empty: no reply.
    void setReplyFor(quint16 code, const QByteArray& bytes);
    void clearReplyOverrides();
    void setReplyDelay(int ms) { delayMs_ = ms; }
    int replyDelay() const { return delayMs_; }
    // Reads and counts requests but answers nothing.
    void setSilent(bool on) { silent_ = on; }
    bool isSilent() const { return silent_; }
    // Each reply goes out in pieces of chunkBytes, gapMs apart (0 bytes: whole).
    void setChunking(int chunkBytes, int gapMs);
    // Every reply is sent twice.
    void setDoubleReplies(bool on) { doubleReplies_ = on; }
    // Replies are cut to at most maxBytes (negative: whole).
    void setTruncate(int maxBytes) { truncate_ = maxBytes; }
    // Outgoing bytes leave at most this fast (0: as fast as the line takes them;
    // 960 is 9600 baud 8N1).
    void setLineRate(int bytesPerSecond);
    // Wire-speed timing at 9600 baud 8N1 (10 bits, ~1.04 ms a byte): a reply
    // starts once its 3-byte request would have crossed the wire (~3.1 ms,
    // plus any reply delay) and leaves byte by byte, each byte no earlier than
    // it would be complete on a real line. A request read while a reply is
    // still going out is answered after it, as the tester queues it. inject()
    // bytes take their turn on the line too. Chunking does not apply.
    // Turning it off sends whatever is still waiting at once.
    void setWirePacing(bool on);
    bool wirePacing() const { return wire_; }
    // Drops this fraction (0..1) of replies at random: the request is read and
    // counted, nothing is sent. Applies to every reply, handshake included.
    void setDropRate(double fraction);
    double dropRate() const { return dropRate_; }
    // Restarts the drop sequence: the same seed drops the same requests.
    void setDropSeed(quint32 seed) { dropState_ = seed; }
    // Makes this fraction (0..1) of the replies sent `extraMs` later than the
    // others, drawn from the drop sequence.
    void setLateReplies(double fraction, int extraMs);

    // Writes arbitrary bytes to the line now (queued behind earlier output).
    void inject(const QByteArray& bytes);
    // Bytes written but not yet taken by the pseudo-terminal.
    qint64 pendingOutput() const { return outQueue_.size(); }

    // Closes the pseudo-terminal and removes the link: the device is gone, as
    // with a pulled adapter. Pending replies are dropped.
    void vanish();
    // A new pseudo-terminal; the link (if any) points at it. The slave path
    // may differ from before.
    bool reappear();

    // ---- What the program sent ----
    QList<quint16> requests() const { return requests_; }
    int requestCount() const { return int(requests_.size()); }
    int requestCount(quint16 code) const;
    // Every byte received from the program, framed or not.
    QByteArray receivedBytes() const { return received_; }
    void clearRequests();

signals:
    void requestReceived(quint16 code);
    void bytesReceived(const QByteArray& bytes);
    // A reply was queued for the line (code 0: bytes from inject()).
    void replied(quint16 code, const QByteArray& bytes);
    // A reply was withheld by the drop rate.
    void replyDropped(quint16 code);
    void vanished();
    void reappeared(const QString& devicePath);

private:
    void onReadable();
    void onWritable();
    void handleRequest(quint16 code);
    QByteArray replyFor(quint16 code);
    void sendReply(quint16 code, const QByteArray& bytes);
    void enqueue(const QByteArray& bytes);
    void pump();
    bool dropNextReply();
    bool draw(double fraction);
    void scheduleOnWire(const QByteArray& bytes, qint64 earliestNs);
    void wireTick();
    void varyReading();
    bool openPty();
    void closePty();
    void updateLink();
    void removeLink();

    int masterFd_ = -1;
    int slaveFd_ = -1;       // held so the master never sees a hang-up between opens
    quint64 generation_ = 0; // replies scheduled for an older pty are dropped
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QTimer* paceTimer_ = nullptr;
    QTimer* wireTimer_ = nullptr;
    QString devicePath_;
    QString linkPath_;
    QString error_;

    SimReading reading_;
    QByteArray rawReading_;
    bool vary_ = false;
    quint32 varyState_ = 12345;
    QList<QByteArray> records_;
    int reportedCount_ = -1;
    QMap<quint16, QByteArray> overrides_;
    int delayMs_ = 0;
    bool silent_ = false;
    int chunkBytes_ = 0;
    int chunkGapMs_ = 0;
    bool doubleReplies_ = false;
    int truncate_ = -1;
    int lineRate_ = 0;
    double dropRate_ = 0.0;
    quint32 dropState_ = 1;
    double lateRate_ = 0.0;
    int lateMs_ = 0;

    // A reply on the wire: its first byte starts at startNs (wireClock_ time).
    struct WireReply {
        qint64 startNs = 0;
        QByteArray bytes;
        qsizetype sent = 0;
    };
    bool wire_ = false;
    QElapsedTimer wireClock_;
    QList<WireReply> wireQueue_;
    qint64 wireFreeNs_ = 0; // when the last scheduled reply ends

    QByteArray frame_; // request bytes collected so far
    QByteArray outQueue_;
    QList<quint16> requests_;
    QByteArray received_;
};

} // namespace bm
