#pragma once

#include "link/transport.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

namespace bm {

// What a failed open means for the user. deviceMissing: the path is not there
// (known only where devices are files); accessDenied: the device is there but
// this user may not read and write it. Qt reports a lock held by another
// program and a plain permission problem both as PermissionError, so the
// access check is what tells "busy" from "failed".
OpenOutcome classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceMissing, bool accessDenied);

// Errors after which the device is gone and the port must be closed: Qt keeps
// raising them in a tight loop for as long as the dead port stays open.
bool errorMeansDeviceLost(QSerialPort::SerialPortError error);

// The one serial port of the window, with the operations the link uses.
// Line settings are fixed: 9600 8N1, no flow control.
class CommPort : public Transport {
    Q_OBJECT
public:
    explicit CommPort(QObject* parent = nullptr);
    ~CommPort() override;

    bool portOpen() const override;
    void setCommPort(qint16 number);

    // Opens the port chosen by setCommPort. Never reports Opened for a failure.
    OpenOutcome open();
    OpenOutcome openPort(qint16 number) override;
    // Opens a device by its path, outside the COM numbering.
    OpenOutcome openDevice(const QString& path);
    void close() override;

    // Device path tried by the last open, symlinks resolved ("" when the
    // number maps to nothing), and the system's reason when it failed or was lost.
    QString devicePath() const override { return devicePath_; }
    QString lastError() const override { return lastError_; }
    bool accessDenied() const override { return accessDenied_; }

    // received() follows once this many bytes wait; 0 or less: never.
    // Lowering it below what already waits raises received() from the event loop.
    void setRThreshold(qint16 bytes) override;

    // Hands the bytes to the line. Does nothing while the port is closed.
    void output(const QByteArray& bytes) override;
    // Discards every received byte not yet read.
    void clearInput() override;
    // Every byte waiting in the receive buffer.
    QByteArray input() override;
    qint64 inBufferCount() const;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void checkThreshold();
    void finishLoss();

    QSerialPort* port_ = nullptr;
    qint16 number_ = 1;
    qint16 threshold_ = 0;
    QString devicePath_;
    QString lastError_;
    bool accessDenied_ = false;
    bool losing_ = false;  // device gone, close queued: the port counts as closed
    bool closing_ = false; // errors raised while closing are not a loss
    bool recheckPending_ = false;
};

} // namespace bm
