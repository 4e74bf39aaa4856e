#pragma once

#include "display/reading.h"
#include "link/commport.h"
#include "link/protocol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace bm {

class RecordTable;

// The instrument link: port search, requests, polling, the watchdog, the record
// download and reply dispatch. Owns the link's window-level state and its four
// timers; the window only shows what it reports.
class Link : public QObject {
    Q_OBJECT
public:
    Link(CommPort* port, RecordTable* table, QObject* parent = nullptr);

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
    QString label1() const { return label1_; }
    QString label1ToolTip() const { return label1ToolTip_; }
    QString label2() const { return label2_; }
    bool buttonsOn() const { return buttons_; }

    // Timers, by their names: Findcom 300 ms (off), comunication 1000 ms (on),
    // Readdat 100 ms (off), COMtimout 1000 ms (on, never stopped).
    QTimer* findcomTimer() { return &findcom_; }
    QTimer* comunicationTimer() { return &comunication_; }
    QTimer* readdatTimer() { return &readdat_; }
    QTimer* comtimoutTimer() { return &comtimout_; }

    // Start-up: turns the port search on.
    void start();

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
    void label1Changed(const QString& text, const QString& toolTip);
    void label2Changed(const QString& text);
    // Command1 and Command2 together.
    void buttonsEnabled(bool enabled);
    // A live reading changed the current reading.
    void readingChanged(const bm::Reading& reading);

private:
    void setButtons(bool enabled);
    void setLabel1(const QString& text, const QString& toolTip);
    void setLabel2(const QString& text);
    void handshake();
    void countReply();
    void recordReply();
    void readingReply();

    CommPort* port_;
    RecordTable* table_;

    qint16 comnum_ = 1;
    bool comok_ = false;
    bool realtime_ = true;
    qint16 cmdcode_ = 0;
    qint16 timoutcount_ = 0;
    qint16 recordcount_ = 0;
    qint16 recordindex_ = 0;
    QByteArray rcvdata_;
    Reading reading_;
    QString label1_ = QStringLiteral("串口状态");
    QString label1ToolTip_;
    QString label2_ = QStringLiteral("通信失败");
    bool buttons_ = true;

    QTimer findcom_;
    QTimer comunication_;
    QTimer readdat_;
    QTimer comtimout_;
};

} // namespace bm
