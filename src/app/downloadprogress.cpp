#include "app/downloadprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include <algorithm>

namespace bm {

DownloadProgress::DownloadProgress(QWidget* area, const QRect& place, QObject* parent)
    : QObject(parent), bar_(new QProgressBar(area)), missing_(new QLabel(area)), redraw_(this)
{
    bar_->setObjectName(QStringLiteral("downloadProgress"));
    bar_->setAccessibleName(tr("下载进度"));
    bar_->setGeometry(place);
    bar_->setTextVisible(true);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->hide();
    missing_->setObjectName(QStringLiteral("missingRecords"));
    missing_->setGeometry(place);
    missing_->hide();
    redraw_.setObjectName(QStringLiteral("progressRedraw"));
    redraw_.setSingleShot(true);
    connect(&redraw_, &QTimer::timeout, this, &DownloadProgress::redraw);
}

void DownloadProgress::progress(int requested, int count) { update(requested, count, false); }

void DownloadProgress::repairProgress(int requested, int count) { update(requested, count, true); }

void DownloadProgress::update(int requested, int count, bool repair)
{
    const bool newPass = !running_ || repair != repair_ || requested < requested_;
    requested_ = requested;
    count_ = count;
    if (newPass) {
        // Its pace is measured afresh.
        running_ = true;
        repair_ = repair;
        missingCount_ = 0;
        sinceStart_.start();
        redraw();
        showControls();
        return;
    }
    // Between redraws only the values are kept; one redraw picks up the last of them.
    const qint64 since = sinceRedraw_.elapsed();
    if (since >= kRedrawMs)
        redraw();
    else if (!redraw_.isActive())
        redraw_.start(int(kRedrawMs - since));
}

void DownloadProgress::ended()
{
    running_ = false;
    redraw_.stop();
    showControls();
}

void DownloadProgress::setMissing(int count)
{
    missingCount_ = count;
    missing_->setText(count > 0 ? tr("缺少 %1 条记录").arg(count) : QString());
    showControls();
}

void DownloadProgress::setRecordsTab(bool recordsTab)
{
    recordsTab_ = recordsTab;
    showControls();
}

qint64 DownloadProgress::estimateLeftMs(int requested, int count, qint64 elapsedMs, int intervalMs)
{
    const qint64 left = std::max(0, count - requested);
    // After the first request the clock has seen requested - 1 intervals.
    const double perRequest = requested > 1 && elapsedMs > 0 ? double(elapsedMs) / (requested - 1) : intervalMs;
    return qint64(double(left) * perRequest + 0.5);
}

QString DownloadProgress::barText(int requested, int count, qint64 leftMs, bool repair)
{
    const qint64 seconds = (leftMs + 999) / 1000;
    const QString left = QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const QString values = QStringLiteral("%1 / %2").arg(requested).arg(count);
    return (repair ? tr("补读 %1  剩余 %2") : tr("%1  剩余 %2")).arg(values, left);
}

void DownloadProgress::redraw()
{
    sinceRedraw_.start();
    bar_->setRange(0, std::max(1, count_));
    bar_->setValue(std::clamp(requested_, 0, std::max(1, count_)));
    bar_->setFormat(barText(requested_, count_, estimateLeftMs(requested_, count_, sinceStart_.elapsed()), repair_));
}

void DownloadProgress::showControls()
{
    bar_->setVisible(recordsTab_ && running_);
    missing_->setVisible(recordsTab_ && !running_ && missingCount_ > 0);
    if (bar_->isVisible())
        bar_->raise();
    if (missing_->isVisible())
        missing_->raise();
}

} // namespace bm
