#include "link/commport.h"

#include "link/portmap.h"

#include <QFileInfo>

#include <cerrno>

namespace bm {

OpenOutcome classifyOpenFailure(QSerialPort::SerialPortError error, bool deviceMissing, bool accessDenied)
{
    if (deviceMissing || error == QSerialPort::DeviceNotFoundError)
        return OpenOutcome::Missing;
    // The device is there and ours to use, yet refused: another program holds
    // its lock (or, on Windows, has it open).
    if (error == QSerialPort::PermissionError && !accessDenied)
        return OpenOutcome::Busy;
    return OpenOutcome::Failed;
}

bool errorMeansDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError;
}

CommPort::CommPort(QObject* parent) : Transport(parent), port_(new QSerialPort(this))
{
    connect(port_, &QSerialPort::readyRead, this, &CommPort::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, &CommPort::onError);
}

CommPort::~CommPort()
{
    port_->disconnect(this);
    if (port_->isOpen())
        port_->close();
}

bool CommPort::portOpen() const { return port_->isOpen() && !losing_; }

void CommPort::setCommPort(qint16 number) { number_ = number; }

OpenOutcome CommPort::openPort(qint16 number)
{
    setCommPort(number);
    return open();
}

OpenOutcome CommPort::open()
{
    const QString mapped = portDevice(number_, currentPortMapInput());
    if (mapped.isEmpty()) {
        if (port_->isOpen())
            close();
        devicePath_.clear();
        accessDenied_ = false;
        lastError_ = tr("No device is assigned to COM%1").arg(number_);
        return OpenOutcome::Missing;
    }
    return openDevice(mapped);
}

OpenOutcome CommPort::openDevice(const QString& mapped)
{
    if (port_->isOpen())
        close();
    lastError_.clear();
    devicePath_ = mapped;
    accessDenied_ = false;

    bool accessDenied = false;
#ifdef Q_OS_UNIX
    // Open the device itself, not a link to it: Qt names its lock file after
    // the path it opens, so two names for one device would get two locks.
    const QFileInfo info(mapped);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        lastError_ = qt_error_string(ENOENT);
        return OpenOutcome::Missing;
    }
    devicePath_ = canonical;
    const QFileInfo device(canonical);
    accessDenied = !device.isDir() && !(device.isReadable() && device.isWritable());
#endif

    port_->setPortName(devicePath_);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->clearError();

    if (!port_->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = port_->error();
        lastError_ = port_->errorString();
        port_->clearError();
        bool missing = false;
#ifdef Q_OS_UNIX
        missing = !QFileInfo::exists(devicePath_);
#endif
        accessDenied_ = accessDenied && !missing;
        return classifyOpenFailure(error, missing, accessDenied);
    }
    // Bytes that reached the device before we owned it answer nothing of ours.
    port_->clear(QSerialPort::Input);
    return OpenOutcome::Opened;
}

void CommPort::close()
{
    losing_ = false;
    if (!port_->isOpen())
        return;
    closing_ = true;
    port_->close();
    closing_ = false;
    port_->clearError();
}

void CommPort::setRThreshold(qint16 bytes)
{
    const bool lowered = bytes < threshold_;
    threshold_ = bytes;
    // Bytes already waiting may now be enough. Check from the event loop so
    // the caller finishes its own sequence (clear, write) before any handler runs.
    if (lowered && !recheckPending_) {
        recheckPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                recheckPending_ = false;
                checkThreshold();
            },
            Qt::QueuedConnection);
    }
}

void CommPort::output(const QByteArray& bytes)
{
    if (!portOpen())
        return;
    port_->write(bytes);
}

void CommPort::clearInput()
{
    if (!portOpen())
        return;
    port_->clear(QSerialPort::Input);
}

QByteArray CommPort::input()
{
    if (!portOpen())
        return {};
    return port_->readAll();
}

qint64 CommPort::inBufferCount() const { return portOpen() ? port_->bytesAvailable() : 0; }

void CommPort::onReadyRead() { checkThreshold(); }

void CommPort::checkThreshold()
{
    if (!portOpen() || threshold_ <= 0)
        return;
    if (port_->bytesAvailable() >= threshold_)
        emit received();
}

void CommPort::onError(QSerialPort::SerialPortError error)
{
    if (closing_ || losing_ || !port_->isOpen() || !errorMeansDeviceLost(error))
        return;
    // Close from the event loop, not from inside Qt's own notifier call; until
    // then the port already counts as closed and the repeats are ignored.
    losing_ = true;
    lastError_ = port_->errorString();
#ifdef Q_OS_UNIX
    // Qt's text comes from whatever errno the failed read left behind (often
    // "Inappropriate ioctl"); a device node that is gone says it plainly.
    if (!QFileInfo::exists(devicePath_))
        lastError_ = qt_error_string(ENODEV);
#endif
    QMetaObject::invokeMethod(this, &CommPort::finishLoss, Qt::QueuedConnection);
}

void CommPort::finishLoss()
{
    if (!losing_)
        return; // closed or reopened by the caller meanwhile
    losing_ = false;
    closing_ = true;
    port_->close();
    closing_ = false;
    port_->clearError();
    emit lost(lastError_);
}

} // namespace bm
