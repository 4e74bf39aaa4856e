#pragma once

#include "link/transport.h"

#include <QList>
#include <QMap>

#include <functional>
#include <utility>

// A serial port in memory. Each request is answered by `tester`; the answer
// waits until the test hands it over with answer(), so a test decides exactly
// when a reply arrives relative to the timer ticks it drives.
class FakeTransport : public bm::Transport {
    Q_OBJECT
public:
    QMap<int, bm::OpenOutcome> ports; // numbers not listed have no device
    std::function<QByteArray(quint16 code)> tester;
    QList<quint16> requests;

    bm::OpenOutcome openPort(qint16 number) override
    {
        close();
        const bm::OpenOutcome outcome = ports.value(number, bm::OpenOutcome::Missing);
        device_ = ports.contains(number) ? QStringLiteral("/dev/fake%1").arg(number) : QString();
        error_ = outcome == bm::OpenOutcome::Opened ? QString() : QStringLiteral("refused");
        open_ = outcome == bm::OpenOutcome::Opened;
        return outcome;
    }
    void close() override
    {
        open_ = false;
        buffer_.clear();
        pending_.clear();
    }
    bool portOpen() const override { return open_; }
    QString devicePath() const override { return device_; }
    QString lastError() const override { return error_; }
    void setRThreshold(qint16 bytes) override { threshold_ = bytes; }
    qint16 threshold() const { return threshold_; }
    void output(const QByteArray& frame) override
    {
        if (!open_ || frame.size() != 3)
            return;
        const auto code = static_cast<quint16>(quint8(frame[1]) | quint8(frame[2]) << 8);
        requests << code;
        pending_ = tester ? tester(code) : QByteArray();
    }
    QByteArray input() override { return std::exchange(buffer_, {}); }
    void clearInput() override { buffer_.clear(); }

    // The tester's answer to the last request reaches the port.
    void answer() { deliver(std::exchange(pending_, {})); }
    // Bytes on the line, from the tester or from noise.
    void deliver(const QByteArray& bytes)
    {
        if (!open_)
            return;
        buffer_ += bytes;
        if (threshold_ > 0 && buffer_.size() >= threshold_)
            emit received();
    }
    void pull()
    {
        close();
        emit lost(QStringLiteral("gone"));
    }

private:
    bool open_ = false;
    qint16 threshold_ = 0;
    QByteArray buffer_;
    QByteArray pending_;
    QString device_;
    QString error_;
};
