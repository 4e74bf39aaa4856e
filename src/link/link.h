#pragma once

#include "model/reading.h"
#include "link/commport.h"
#include "link/protocol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

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

    // Timers, by their names: Findcom 300 ms (off), comunication 1000 ms (on),
    // Readdat 100 ms (off), COMtimout 1000 ms (on, never stopped).
    QTimer* findcomTimer() { return &findcom_; }
    QTimer* comunicationTimer() { return &comunication_; }
    QTimer* readdatTimer() { return &readdat_; }
    QTimer* comtimoutTimer() { return &comtimout_; }

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
    // A stored record arrived; the owner of the table stores it.
    void recordReceived(int number, const bm::Measurement& measurement);
    // Record `requested` of `count` was asked for.
    void downloadProgress(int requested, int count);
    // The download ended: every record was asked for, or the link was lost.
    void downloadEnded(bool complete);

private:
    void setButtons(bool enabled);
    void handshake();
    void countReply();
    void recordReply();
    void readingReply();

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

    QTimer findcom_;
    QTimer comunication_;
    QTimer readdat_;
    QTimer comtimout_;
};

} // namespace bm
