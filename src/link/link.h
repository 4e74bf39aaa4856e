#pragma once

#include "model/reading.h"
#include "link/commport.h"
#include "link/protocol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

namespace bm {

// One attempt of the port search to open a port.
struct PortAttempt {
    qint16 number = 0;
    OpenOutcome outcome = OpenOutcome::Missing;
    QString device;        // "" when the number maps to nothing
    QString reason;        // the system's words when the open failed
    bool accessDenied = false;
};

// The instrument link: port search, requests, polling, the watchdog, the record
// download and reply dispatch. Owns the link's window-level state and its four
// timers, and reports what happens as values; the window decides how to say it.
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
    qint16 recordindex() const { return recordindex_; }
    const QByteArray& rcvdata() const { return rcvdata_; }
    const Reading& reading() const { return reading_; }

    // What the link last reported, for readers that were not listening.
    // No attempt yet: number 0.
    const PortAttempt& lastAttempt() const { return lastAttempt_; }
    bool buttonsOn() const { return buttons_; }
    bool downloading() const { return readdat_.isActive(); }
    // Records of the last download that never replied, once it has ended.
    int missingRecords() const { return missing_; }

    // Timers, by their names: Findcom 300 ms (off), comunication 1000 ms (on),
    // Readdat 100 ms (off), COMtimout 1000 ms (on, never stopped).
    QTimer* findcomTimer() { return &findcom_; }
    QTimer* comunicationTimer() { return &comunication_; }
    QTimer* readdatTimer() { return &readdat_; }
    QTimer* comtimoutTimer() { return &comtimout_; }
    // One Readdat interval after the last request of a pass: which records replied.
    QTimer* recheckTimer() { return &recheck_; }

    // Start-up: turns the port search on.
    void start();
    // Closing: no timer of the link ticks again.
    void stop();

    void sendcmd(qint16 code);
    void comopen(qint16 comport);

    // Tick handlers, public so tests can drive exact sequences.
    void findcomTick();
    void comunicationTick();
    void readdatTick();
    void comtimoutTick();
    void recheckTick();
    // The serial receive event.
    void onComm();

    // The read button (Command1 and mnuread).
    void command1();
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
    void countReply();
    void recordReply();
    void readingReply();
    void repairTick();
    void endPass();
    void endDownload(bool complete);
    std::vector<qint16> unanswered() const;

    Transport* port_;

    qint16 comnum_ = 1;
    bool comok_ = false;
    bool realtime_ = true;
    qint16 cmdcode_ = 0;
    qint16 timoutcount_ = 0;
    qint16 recordcount_ = 0;
    qint16 recordindex_ = 0;
    QByteArray rcvdata_;
    Reading reading_;
    PortAttempt lastAttempt_;
    bool buttons_ = true;

    // The download's bookkeeping for its repair passes, indexed by record number.
    std::vector<bool> replied_;
    std::vector<qint16> repairs_; // the records asked for again in this pass
    size_t repairNext_ = 0;
    int repairPass_ = 0;          // 0: the first pass through all records
    bool recheckWaited_ = false;
    int missing_ = 0;

    QTimer findcom_;
    QTimer comunication_;
    QTimer readdat_;
    QTimer comtimout_;
    QTimer recheck_;
};

} // namespace bm
