#include "link/link.h"

#include "records/recordtable.h"

namespace bm {

Link::Link(CommPort* port, RecordTable* table, QObject* parent)
    : QObject(parent), port_(port), table_(table),
      findcom_(this), comunication_(this), readdat_(this), comtimout_(this)
{
    const auto setUp = [this](QTimer& timer, const char* name, int interval, bool on, void (Link::*tick)()) {
        timer.setObjectName(QString::fromLatin1(name));
        timer.setInterval(interval);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, tick);
        if (on)
            timer.start();
    };
    setUp(findcom_, "Findcom", 300, false, &Link::findcomTick);
    setUp(comunication_, "comunication", 1000, true, &Link::comunicationTick);
    setUp(readdat_, "Readdat", 100, false, &Link::readdatTick);
    setUp(comtimout_, "COMtimout", 1000, true, &Link::comtimoutTick);
    connect(port_, &CommPort::received, this, &Link::onComm);
}

void Link::start() { findcom_.start(); }
void Link::sendcmd(qint16) {}
void Link::comopen(qint16) {}
void Link::findcomTick() {}
void Link::comunicationTick() {}
void Link::readdatTick() {}
void Link::comtimoutTick() {}
void Link::onComm() {}
void Link::command1() {}
void Link::selectTab(bool realtimeTab)
{
    realtime_ = realtimeTab;
    comunication_.start();
    setButtons(true);
}
void Link::setButtons(bool enabled) { emit buttonsEnabled(enabled); }
void Link::handshake() {}
void Link::countReply() {}
void Link::recordReply() {}
void Link::readingReply() {}

} // namespace bm
