#include "trend/trendwindow.h"

#include "output/commondialog.h"
#include "records/savetargets.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace bm {

namespace {

constexpr qint64 kMinSpanMs = 10000;
const QColor kMainColour(0x1f, 0x5f, 0xbf);
const QColor kRcColour(0xd0, 0x70, 0x10);
const QColor kRpColour(0x20, 0x90, 0x40);

QString mainTitle(Kind kind)
{
    switch (kind) {
    case Kind::Voltage: return TrendWindow::tr("接地电压 (V)");
    case Kind::Resistance: return TrendWindow::tr("接地电阻 (Ω)");
    case Kind::Resistivity: return TrendWindow::tr("土壤电阻率 (Ωm)");
    case Kind::None: break;
    }
    return {};
}

} // namespace

TrendWindow::TrendWindow(CommonDialog* dialog, QWidget* parent)
    : QWidget(parent, Qt::Window), ownDialog_(dialog ? nullptr : std::make_unique<QtCommonDialog>(this)),
      saver_(dialog ? dialog : ownDialog_.get(), defaultSaveFolder())
{
    setObjectName(QStringLiteral("trendWindow"));
    setWindowTitle(tr("实时趋势"));
    buildChart();

    pause_ = new QPushButton(tr("暂停"), this);
    pause_->setObjectName(QStringLiteral("trendPause"));
    pause_->setCheckable(true);
    connect(pause_, &QPushButton::toggled, this, &TrendWindow::setPaused);
    auto* csv = new QPushButton(tr("导出CSV"), this);
    csv->setObjectName(QStringLiteral("trendCsv"));
    connect(csv, &QPushButton::clicked, this, &TrendWindow::exportCsv);
    auto* png = new QPushButton(tr("导出PNG"), this);
    png->setObjectName(QStringLiteral("trendPng"));
    connect(png, &QPushButton::clicked, this, &TrendWindow::exportPng);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("trendStatus"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pause_);
    buttons->addWidget(csv);
    buttons->addWidget(png);
    buttons->addStretch();
    buttons->addWidget(status_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(820, 480);
    redraw();
}

TrendWindow::~TrendWindow() = default;

void TrendWindow::buildChart()
{
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    timeAxis_ = new QDateTimeAxis(chart_);
    timeAxis_->setFormat(QStringLiteral("HH:mm:ss"));
    timeAxis_->setTickCount(6);
    mainAxis_ = new QValueAxis(chart_);
    sideAxis_ = new QValueAxis(chart_);
    sideAxis_->setTitleText(tr("Rc / Rp (Ω)"));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(mainAxis_, Qt::AlignLeft);
    chart_->addAxis(sideAxis_, Qt::AlignRight);
    view_ = new QChartView(chart_, this); // owns the chart
    // Every item moves on each reading: an index of the scene would only be rebuilt.
    view_->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
    view_->setObjectName(QStringLiteral("trendChart"));
    view_->setRenderHint(QPainter::Antialiasing, false);
}

void TrendWindow::addMeasurement(const Measurement& m, qint64 msecs)
{
    if (store_.paused())
        return;
    store_.add(m, msecs);
    // Readings that come in a burst are drawn once, when the burst is over.
    if (!redrawQueued_) {
        redrawQueued_ = true;
        QMetaObject::invokeMethod(this, &TrendWindow::redraw, Qt::QueuedConnection);
    }
}

void TrendWindow::setPaused(bool paused)
{
    store_.setPaused(paused);
    pause_->setChecked(paused);
    pause_->setText(paused ? tr("继续") : tr("暂停"));
    redraw();
}

void TrendWindow::redraw()
{
    redrawQueued_ = false;
    // The current mode's series; earlier ones stay in the store and the export.
    const TrendRun run = store_.lastRun();
    const bool resistance = run.kind == Kind::Resistance;
    const TrendRun sideRun = resistance ? run : TrendRun{};
    const int columns = chart_->plotArea().width() > 10 ? int(chart_->plotArea().width()) : 800;
    const std::vector<TrendLine> main = trendLines(store_, run, TrendValue::Main, columns);
    const std::vector<TrendLine> rc = trendLines(store_, sideRun, TrendValue::Rc, columns);
    const std::vector<TrendLine> rp = trendLines(store_, sideRun, TrendValue::Rp, columns);
    // The axes first: a series is laid out again on each change of its axes.
    const qint64 t0 = run.empty() ? QDateTime::currentMSecsSinceEpoch() : store_.at(run.first).msecs;
    const qint64 t1 = run.empty() ? t0 : store_.at(run.end - 1).msecs;
    fitTimeAxis(t0, std::max(t1, t0 + kMinSpanMs));
    mainAxis_->setTitleText(mainTitle(run.kind));
    sideAxis_->setVisible(resistance);
    fitAxis(mainAxis_, valueRange(main));
    std::vector<TrendLine> side = rc;
    side.insert(side.end(), rp.begin(), rp.end());
    fitAxis(sideAxis_, valueRange(side));
    showLines(mainLines_, main, mainAxis_, kMainColour, mainTitle(run.kind));
    showLines(rcLines_, rc, sideAxis_, kRcColour, QStringLiteral("Rc"));
    showLines(rpLines_, rp, sideAxis_, kRpColour, QStringLiteral("Rp"));

    const QString count = tr("%n 个读数", nullptr, int(store_.size()));
    status_->setText(store_.paused() ? tr("%1(已暂停)").arg(count) : count);
}

void TrendWindow::showLines(std::vector<QLineSeries*>& pool, const std::vector<TrendLine>& lines, QValueAxis* axis,
                            const QColor& colour, const QString& name)
{
    while (pool.size() < lines.size()) {
        auto* series = new QLineSeries;
        series->setPen(QPen(colour, 1.5));
        chart_->addSeries(series); // the chart owns it from here
        series->attachAxis(timeAxis_);
        series->attachAxis(axis);
        // One legend entry per value, however many pieces its gaps cut it into.
        for (QLegendMarker* marker : chart_->legend()->markers(series))
            marker->setVisible(pool.empty());
        pool.push_back(series);
    }
    for (size_t i = 0; i < pool.size(); ++i) {
        if (i < lines.size())
            pool[i]->replace(QList<QPointF>(lines[i].begin(), lines[i].end()));
        else if (pool[i]->count() > 0)
            pool[i]->clear();
    }
    if (pool.empty())
        return;
    if (pool[0]->name() != name)
        pool[0]->setName(name);
    const QList<QLegendMarker*> markers = chart_->legend()->markers(pool[0]);
    if (!markers.isEmpty() && markers[0]->isVisible() != !lines.empty())
        markers[0]->setVisible(!lines.empty());
}

// Every change of an axis lays out each series again, which costs more than
// the rest of a redraw: an axis keeps its range while the data still fills it well.
void TrendWindow::fitAxis(QValueAxis* axis, std::pair<double, double> range)
{
    const auto [low, high] = range;
    if (std::isnan(low)) {
        if (axis->min() != 0 || axis->max() != 1)
            axis->setRange(0, 1);
        return;
    }
    const double margin = high > low ? (high - low) * 0.05 : std::max(std::abs(high) * 0.05, 0.001);
    const double lo = low - margin;
    const double hi = high + margin;
    if (lo >= axis->min() && hi <= axis->max() && (hi - lo) >= 0.3 * (axis->max() - axis->min()))
        return;
    axis->setRange(lo, hi);
    axis->applyNiceNumbers();
}

void TrendWindow::fitTimeAxis(qint64 first, qint64 last)
{
    const qint64 shownFirst = timeAxis_->min().toMSecsSinceEpoch();
    const qint64 shownLast = timeAxis_->max().toMSecsSinceEpoch();
    if (shownFirst == first && last <= shownLast && last - first >= (shownLast - first) * 9 / 10)
        return;
    // A little room on the right, so the next readings fit without a new layout.
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(first),
                        QDateTime::fromMSecsSinceEpoch(last + (last - first) / 20));
}

QImage TrendWindow::picture() const { return view_->grab().toImage(); }

void TrendWindow::exportCsv() { save(tr("csv格式 (*.csv)|*.csv|"), QStringLiteral(".csv"), trendCsv(store_)); }

void TrendWindow::exportPng()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture().save(&buffer, "PNG");
    save(tr("png格式 (*.png)|*.png|"), QStringLiteral(".png"), png);
}

void TrendWindow::save(const QString& filter, const QString& ext, const QByteArray& bytes)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString path = saver_.choose(QStringLiteral("trend-") + stamp, filter, ext);
    if (!path.isEmpty())
        saver_.write(path, bytes, bytes.isEmpty() ? tr("无法生成文件内容") : QString());
}

} // namespace bm
