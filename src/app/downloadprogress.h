#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QWidget;

namespace bm {

// The records tab's download bar: "n / N" and the time left, and in its place
// afterwards how many records never arrived. Values may come once per record;
// the bar is redrawn at most ten times a second, so a record costs a clock read.
class DownloadProgress : public QObject {
    Q_OBJECT
public:
    static constexpr int kRedrawMs = 100;

    // Both controls are children of area, at place (pixels), hidden.
    DownloadProgress(QWidget* area, const QRect& place, QObject* parent = nullptr);

    // Record `requested` of `count` was asked for. A repair pass counts the
    // records asked for again instead.
    void progress(int requested, int count);
    void repairProgress(int requested, int count);
    // The download is over or stopped: the bar goes.
    void ended();
    // Records still missing after the download; 0 clears the text.
    void setMissing(int count);
    // The controls show on the records tab only.
    void setRecordsTab(bool recordsTab);
    // Stops the pending redraw, for closing.
    void stop() { redraw_.stop(); }

    bool running() const { return running_; }
    int requested() const { return requested_; }
    int count() const { return count_; }
    QProgressBar* bar() const { return bar_; }

    // Milliseconds left at the pace so far (the request interval before there is one).
    static qint64 estimateLeftMs(int requested, int count, qint64 elapsedMs, int intervalMs = 100);
    // "n / N  剩余 m:ss", or with the repair caption before it.
    static QString barText(int requested, int count, qint64 leftMs, bool repair);

private:
    void update(int requested, int count, bool repair);
    void redraw();
    void showControls();

    QProgressBar* bar_;
    QLabel* missing_;
    QTimer redraw_;
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceRedraw_;
    int requested_ = 0;
    int count_ = 0;
    int missingCount_ = 0;
    bool repair_ = false;
    bool running_ = false;
    bool recordsTab_ = false;
};

} // namespace bm
