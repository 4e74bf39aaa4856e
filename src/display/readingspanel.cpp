#include "display/readingspanel.h"

namespace bm {

ReadingsPanel::ReadingsPanel(const Reading& reading, QWidget* parent)
    : QFrame(parent), reading_(reading), vrprecord_(this)
{
    setObjectName(QStringLiteral("Frame1"));
    vrprecord_.setObjectName(QStringLiteral("vrprecord"));
    vrprecord_.setInterval(1000);
    connect(&vrprecord_, &QTimer::timeout, this, &ReadingsPanel::vrprecordTick);
    vrprecord_.start();
}

void ReadingsPanel::showReading(const Reading&) {}

void ReadingsPanel::vrprecordTick() {}

} // namespace bm
