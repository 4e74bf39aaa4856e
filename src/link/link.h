#pragma once

#include "model/reading.h"
#include "link/commport.h"
#include "link/protocol.h"
#include "link/recorddownloader.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace bm {

// One attempt of the port search to open a port.
struct PortAttempt {
    qint16 number = 0;
    OpenOutcome outcome = OpenOutcome::Missing;
    QString device; // "" when the number maps to nothing
    QString reason; // the system's words when the open failed
    bool accessDenied = false;
};

// Where the link stands. Searching: no tester answers yet (or it fell silent);
// linked: polling; downloading: the count and the first pass over the records;
// repairing: the records that did not reply are asked for again.
enum class LinkState { Searching, Linked, Downloading, Repairing };

// The instrument link: port search, polling, the watchdog and reply dispatch;
// the record download runs on the one download engine, paced as the window
// always paced it. Owns the link's window-level state and its timers, and
// reports what happens as values; the window decides how to say it.
class Link : public QObject {
    Q_OBJECT
public:
    explicit Link(Transport* port, QObject* parent = nullptr);

    // Window-level state (16-bit where the protocol is).
    qint16 comnum() const { return comnum_; }
    bool comok() const { return comok_; }
    bool realtime() const { return realtime_; }
    qint16 cmdcode() const { return cmdcode_; }
    qint16 timoutcount() const { return timoutcount_; }
    qint16 recordcount() const { return recordcount_; }
    const QByteArray& rcvdata() const { return rcvdata_; }
    const Reading& reading() const { return reading_; }

    bool buttonsOn() const { return buttons_; }
    LinkState state() const;
    // Records of the last download that never replied, once it has ended.
    int missingRecords() const { return missing_; }

    // The port search (object name Findcom, 300 ms, off), polling (comunication,
    // 1000 ms, on), the watchdog (COMtimout, 1000 ms, on, never stopped) and the
    // download's record tick (Readdat, 100 ms), which the download engine owns.
    QTimer* searchTimer() { return &findcom_; }
    QTimer* pollTimer() { return &comunication_; }
    QTimer* watchdogTimer() { return &comtimout_; }
    QTimer* recordTimer() { return download_->paceTimer(); }
    RecordDownloader& download() { return *download_; }

    // Start-up: turns the port search on.
    void start();
    // Closing: no timer of the link ticks again.
    void stop();

    void sendcmd(qint16 code);
    void comopen(qint16 comport);

    // Tick handlers, public so tests can drive exact sequences.
    void searchTick();
    void pollTick();
    void recordTick() { download_->paceTick(); }
    void watchdogTick();
    // The serial receive event.
    void onReceived();

    // The read button and its menu entry: downloads the stored records.
    void readRecords();
    // Tab selection: sets realtime, turns polling on, gives the read and save buttons back.
    void selectTab(bool realtimeTab);

signals:
    // The port search tried a port.
    void portTried(const bm::PortAttempt& attempt);
    // The tester answered the handshake (true), or fell silent (false).
    void linkChanged(bool linked);
    // Command1 and Command2 together.
    void buttonsEnabled(bool enabled);
    // A live reading changed the current reading.
    void readingChanged(const bm::Reading& reading);
    // The live reply behind it, as values.
    void measurementReceived(const bm::Measurement& measurement);
    // A stored record arrived; the owner of the table stores it.
    void recordReceived(int number, const bm::Measurement& measurement);
    // The count reply arrived: a download of `count` records begins (none for 0).
    void downloadStarted(int count);
    // A record asked for again arrived; it fills its row without cutting the table.
    void recordRepaired(int number, const bm::Measurement& measurement);
    // Record `requested` of `count` was asked for.
    void downloadProgress(int requested, int count);
    // The records that got no reply are asked for again: `requested` of `count`.
    void repairProgress(int requested, int count);
    // The download ended: every record was asked for, up to twice more when it
    // did not reply (missingRecords() tells how many never did), or the link was
    // lost or a new download began (complete false).
    void downloadEnded(bool complete);

private:
    void setButtons(bool enabled);
    void handshake();
    void readingReply();
    void onRangeKnown(int count);
    void onRecordRequested(int number, int done, int total);
    void onRecordReceived(int number, const Measurement& measurement);
    void onPassFinished(const DownloadResult& result);
    void endDownload(bool complete);

    Transport* port_;

    qint16 comnum_ = 1;
    bool comok_ = false;
    bool realtime_ = true;
    qint16 cmdcode_ = 0;
    bool replyDue_ = false; // a poll went out and its reply has not been read
    qint16 timoutcount_ = 0;
    qint16 recordcount_ = 0;
    QByteArray rcvdata_;
    Reading reading_;
    bool buttons_ = true;

    // 0: no download; 1: the first pass; 2 and 3: the repair passes.
    int pass_ = 0;
    int missing_ = 0;

    QTimer findcom_;
    QTimer comunication_;
    QTimer comtimout_;
    RecordDownloader* download_; // made after the receive handler is connected
};

} // namespace bm
