#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

namespace bm {

// How an attempt to open a port ended. Callers tell the three failures apart.
enum class OpenOutcome { Opened, Busy, Missing, Failed };

// The one serial port of the window, with the operations the link uses.
// Line settings are fixed: 9600 8N1, no flow control.
class CommPort : public QObject {
    Q_OBJECT
public:
    explicit CommPort(QObject* parent = nullptr);
    ~CommPort() override;

    bool portOpen() const;
    void setCommPort(qint16 number);
    qint16 commPort() const { return number_; }

    // Opens the port chosen by setCommPort. Never reports Opened for a failure.
    OpenOutcome open();
    void close();

    // Device path tried by the last open ("" when the number maps to nothing)
    // and the system's reason when it failed.
    QString devicePath() const { return devicePath_; }
    QString lastError() const { return lastError_; }

    void setRThreshold(qint16 bytes);
    qint16 rThreshold() const { return threshold_; }

    // Hands the bytes to the line; clearOutput() afterwards never drops them.
    void output(const QByteArray& bytes);
    void clearInput();
    void clearOutput();
    // Every byte waiting in the receive buffer.
    QByteArray input();
    qint64 inBufferCount() const;

signals:
    // Raised once at least rThreshold() bytes wait.
    void received();
    // The device went away while open; the port is closed by then.
    void lost(const QString& reason);

private:
    void onReadyRead();
    void onError();

    QSerialPort* port_ = nullptr;
    qint16 number_ = 1;
    qint16 threshold_ = 0;
    QString devicePath_;
    QString lastError_;
};

} // namespace bm
