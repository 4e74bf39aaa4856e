#pragma once

#include "display/reading.h"

#include <QFrame>
#include <QTimer>

namespace bm {

// The live-reading page: caption labels, value labels and warning marks, laid
// out for the current measurement mode, with the reveal animation.
class ReadingsPanel : public QFrame {
    Q_OBJECT
public:
    // testmode is read from `reading`, which outlives the panel.
    explicit ReadingsPanel(const Reading& reading, QWidget* parent = nullptr);

    // New captions and marks; the layout follows on the next watcher tick.
    void showReading(const Reading& reading);

    // The mode watcher; start-up runs it once directly.
    void vrprecordTick();

    QTimer* vrprecordTimer() { return &vrprecord_; }

private:
    const Reading& reading_;
    QTimer vrprecord_;
};

} // namespace bm
