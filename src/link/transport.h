#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace bm {

// How an attempt to open a port ended. Callers tell the three failures apart.
enum class OpenOutcome { Opened, Busy, Missing, Failed };

// What the link needs of a serial port: the real one over QSerialPort, or a
// fake in tests. Line settings are the tester's: 9600 8N1, no flow control.
class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Closes whatever is open, then opens COM `number`. Never reports Opened for a failure.
    virtual OpenOutcome openPort(qint16 number) = 0;
    virtual void close() = 0;
    virtual bool portOpen() const = 0;

    // The device the last open tried ("" when the number maps to nothing), the
    // system's reason when it failed or was lost, and whether it failed for lack
    // of permission to read and write the device.
    virtual QString devicePath() const = 0;
    virtual QString lastError() const = 0;
    virtual bool accessDenied() const { return false; }

    // received() follows once this many bytes wait; 0 or less: never.
    virtual void setRThreshold(qint16 bytes) = 0;
    // Hands the bytes to the line; nothing while the port is closed.
    virtual void output(const QByteArray& bytes) = 0;
    // Every byte waiting in the receive buffer.
    virtual QByteArray input() = 0;
    virtual void clearInput() = 0;

signals:
    // Raised once at least the threshold's bytes wait.
    void received();
    // The device went away while open; the port is closed by then.
    void lost(const QString& reason);
};

} // namespace bm
