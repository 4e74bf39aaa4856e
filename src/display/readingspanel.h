#pragma once

#include "model/reading.h"
#include "display/reveal.h"

#include <QFrame>
#include <QTimer>

#include <array>
#include <memory>

class QLabel;

namespace bm {

// The live-reading page: caption labels, value labels and warning marks, laid
// out for the current measurement mode, with the reveal animation.
class ReadingsPanel : public QFrame {
    Q_OBJECT
public:
    // testmode is read from `reading`, which outlives the panel.
    explicit ReadingsPanel(const Reading& reading, QWidget* parent = nullptr);
    ~ReadingsPanel() override;

    // New captions and marks; the layout follows on the next watcher tick.
    void showReading(const Reading& reading);

    // Closing: no timer of the panel ticks again.
    void stop();

    // The mode watcher; start-up runs it once directly.
    void modeWatchTick();
    // One reveal step and one flight step, as their timers run them.
    void revealTick();
    void flightTick();

    QTimer* modeWatchTimer() { return &vrprecord_; }
    QTimer* revealTimer() { return &movectrltimer_; }
    QTimer* flightTimer() { return &movetimer_; }

    const RevealState& revealState() const { return animation_->state(); }

    // A label's place in twips within the frame, as the animation last set it.
    int leftOf(PanelItem item) const;
    int topOf(PanelItem item) const;
    QLabel* label(PanelItem item) const;

    static constexpr int kTwipsPerPixel = 15;

private:
    class LabelItem;

    void buildLabels();
    void buildMarks();
    void setUpAnimation();
    QLabel* addLabel(const char* name, const QString& text, int widthTwips, int heightTwips);

    const Reading& reading_;
    QTimer vrprecord_;
    QTimer movectrltimer_;
    QTimer movetimer_;
    std::array<std::unique_ptr<LabelItem>, PanelItemCount> items_;
    QLabel* noise_ = nullptr;
    QLabel* hvolt_ = nullptr;
    QLabel* lowbat_ = nullptr;
    std::unique_ptr<RevealAnimation> animation_;
};

} // namespace bm
