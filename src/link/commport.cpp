#include "link/commport.h"

#include <QSerialPort>

namespace bm {

CommPort::CommPort(QObject* parent) : QObject(parent) {}
CommPort::~CommPort() = default;
bool CommPort::portOpen() const { return false; }
void CommPort::setCommPort(qint16 number) { number_ = number; }
OpenOutcome CommPort::open() { return OpenOutcome::Missing; }
void CommPort::close() {}
void CommPort::setRThreshold(qint16 bytes) { threshold_ = bytes; }
void CommPort::output(const QByteArray&) {}
void CommPort::clearInput() {}
void CommPort::clearOutput() {}
QByteArray CommPort::input() { return {}; }
qint64 CommPort::inBufferCount() const { return 0; }
void CommPort::onReadyRead() {}
void CommPort::onError() {}

} // namespace bm
