#include "history/ui/historywindow.h"

#include "history/sitepackage.h"
#include "history/ui/historysettings.h"
#include "output/commondialog.h"
#include "output/filesaver.h"
#include "records/savetargets.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace bm::history {

namespace {

QTableWidget* table(const QStringList& header, const char* name)
{
    auto* t = new QTableWidget(0, int(header.size()));
    t->setObjectName(QLatin1String(name));
    t->setHorizontalHeaderLabels(header);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString figureText(const std::optional<double>& v, const QString& unit)
{
    return v ? QLocale().toString(*v, 'g', 6) + QLatin1Char(' ') + unit : QStringLiteral("OL");
}

} // namespace

HistoryWindow::HistoryWindow(CommonDialog* dialog, QWidget* parent)
    : QWidget(parent, Qt::Window), ownDialog_(dialog ? nullptr : new QtCommonDialog(this)),
      dialog_(dialog ? dialog : ownDialog_.get())
{
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(tr("现场记录"));
    auto* top = new QHBoxLayout;
    database_ = new QLabel;
    auto* change = new QPushButton(tr("更改数据库…"));
    auto* exportButton = new QPushButton(tr("导出现场…"));
    auto* importButton = new QPushButton(tr("导入…"));
    exportButton->setObjectName(QStringLiteral("exportButton"));
    importButton->setObjectName(QStringLiteral("importButton"));
    top->addWidget(new QLabel(tr("数据库:")));
    top->addWidget(database_, 1);
    for (QPushButton* b : {change, exportButton, importButton})
        top->addWidget(b);
    auto* split = new QSplitter;
    split->addWidget(buildLists());
    split->addWidget(buildDetails());
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    connect(change, &QPushButton::clicked, this, &HistoryWindow::chooseDatabase);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::exportSite);
    connect(importButton, &QPushButton::clicked, this, [this] {
        const QString name =
            QFileDialog::getOpenFileName(this, tr("导入现场"), defaultSaveFolder(), tr("现场记录包 (*.json)"));
        if (!name.isEmpty())
            importPackage(name);
    });
    resize(1000, 680);
}

HistoryWindow::~HistoryWindow() = default;

QWidget* HistoryWindow::buildLists()
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    sites_ = new QListWidget;
    sites_->setObjectName(QStringLiteral("sites"));
    pointList_ = new QListWidget;
    pointList_->setObjectName(QStringLiteral("points"));
    layout->addWidget(new QLabel(tr("现场")));
    layout->addWidget(sites_, 1);
    layout->addWidget(new QLabel(tr("测试点")));
    layout->addWidget(pointList_, 1);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(sites_, &QListWidget::currentTextChanged, this, &HistoryWindow::showPoints);
    connect(pointList_, &QListWidget::currentTextChanged, this, &HistoryWindow::showVisits);
    return box;
}

QWidget* HistoryWindow::buildDetails()
{
    chartView_ = new QChartView;
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(240);
    visits_ = table({tr("时间"), tr("测试点"), tr("读数"), tr("关键值"), tr("结论"), tr("操作员")}, "visits");
    readings_ = table({tr("记录"), tr("类型"), tr("值"), tr("Rc"), tr("Rp"), tr("间距")}, "readings");
    connect(visits_, &QTableWidget::currentCellChanged, this, [this](int row) { selectVisit(row); });
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(chartView_);
    split->addWidget(visits_);
    split->addWidget(readings_);
    return split;
}

QChart* HistoryWindow::chart() const { return chartView_->chart(); }

void HistoryWindow::reload()
{
    QString error;
    store_ = HistorySettings::open(&error);
    database_->setText(HistorySettings::databaseUrl());
    sites_->clear();
    if (!store_) {
        warn(tr("无法打开现场记录数据库:\n%1").arg(error));
        return;
    }
    const auto sites = store_->sites();
    for (const SiteSummary& s : sites.value.value_or(QList<SiteSummary>()))
        sites_->addItem(s.site.name);
    if (sites_->count() > 0)
        sites_->setCurrentRow(0);
}

void HistoryWindow::chooseDatabase()
{
    bool ok = false;
    const QString url =
        QInputDialog::getText(this, tr("现场记录数据库"), tr("SQLite 文件路径，或 postgresql://用户@主机:端口/数据库"),
                              QLineEdit::Normal, HistorySettings::databaseUrl(), &ok);
    if (!ok || url.trimmed().isEmpty())
        return;
    HistorySettings::setDatabaseUrl(url.trimmed());
    reload();
}

void HistoryWindow::selectSite(const QString& name)
{
    const auto found = sites_->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        sites_->setCurrentItem(found.constFirst());
}

void HistoryWindow::selectPoint(const QString& name)
{
    const auto found = pointList_->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        pointList_->setCurrentItem(found.constFirst());
}

QString HistoryWindow::currentSite() const { return sites_->currentItem() ? sites_->currentItem()->text() : QString(); }
QString HistoryWindow::currentPoint() const
{
    return pointList_->currentItem() ? pointList_->currentItem()->text() : QString();
}

void HistoryWindow::showPoints()
{
    pointList_->clear();
    points_ = store_ && !currentSite().isEmpty() ? store_->points(currentSite()).value.value_or(QList<TestPoint>())
                                                 : QList<TestPoint>();
    for (const TestPoint& p : points_)
        pointList_->addItem(p.name);
    if (pointList_->count() > 0)
        pointList_->setCurrentRow(0);
    else
        showVisits();
}

void HistoryWindow::showVisits()
{
    const QString point = currentPoint();
    shown_ = store_ && !point.isEmpty() ? store_->visits(currentSite(), point).value.value_or(QList<VisitSummary>())
                                        : QList<VisitSummary>();
    visits_->setRowCount(int(shown_.size()));
    for (int row = 0; row < shown_.size(); ++row) {
        const VisitSummary& v = shown_[row];
        const QString verdict = v.pass ? (*v.pass ? tr("合格") : tr("不合格")) : QString();
        setRow(visits_, row,
               {QLocale().toString(v.timeUtc.toLocalTime(), QLocale::ShortFormat), v.pointName,
                QString::number(v.readingCount), v.keyName.isEmpty() ? QString() : figureText(v.keyValue, v.keyUnit),
                verdict, v.operatorName});
    }
    readings_->setRowCount(0);
    const auto it = std::find_if(points_.begin(), points_.end(), [&](const TestPoint& p) { return p.name == point; });
    plot(shown_, it == points_.end() ? std::nullopt : it->limitOhm);
}

void HistoryWindow::selectVisit(int row)
{
    readings_->setRowCount(0);
    if (!store_ || row < 0 || row >= shown_.size())
        return;
    const QList<StoredReading> list = store_->readings(shown_[row].id).value.value_or(QList<StoredReading>());
    readings_->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const StoredReading& r = list[i];
        const QString value = r.mainText.isEmpty() && r.value ? QString::number(*r.value) : r.mainText;
        setRow(readings_, i, {QString::number(r.record), r.kind, value, r.rcText, r.rpText, r.spacingText});
    }
}

// The key figure of each visit against time, with the point's limit as a line.
void HistoryWindow::plot(const QList<VisitSummary>& visits, const std::optional<double>& limit)
{
    auto* chart = new QChart;
    chart->legend()->setVisible(true);
    auto* series = new QLineSeries;
    series->setName(visits.isEmpty() ? tr("关键值") : tr("关键值 (%1)").arg(visits.constFirst().keyUnit));
    series->setPointsVisible(true);
    for (const VisitSummary& v : visits) {
        if (v.keyValue)
            series->append(double(v.timeUtc.toMSecsSinceEpoch()), *v.keyValue);
    }
    chart->addSeries(series);
    // The limit spans the whole axis, a day either side of the visits.
    const double day = 86400e3;
    if (limit && series->count() > 0) {
        auto* line = new QLineSeries;
        line->setName(tr("限值 %1 Ω").arg(QLocale().toString(*limit)));
        line->setPen(QPen(Qt::red, 1.5, Qt::DashLine));
        line->append(series->at(0).x() - day, *limit);
        line->append(series->at(series->count() - 1).x() + day, *limit);
        chart->addSeries(line);
    }
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("yyyy-MM-dd"));
    auto* y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    if (series->count() > 0) {
        double lo = limit.value_or(series->at(0).y()), hi = lo;
        for (const QPointF& p : series->points()) {
            lo = std::min(lo, p.y());
            hi = std::max(hi, p.y());
        }
        y->setRange(std::min(0.0, lo), hi * 1.1 + 1e-9);
        x->setRange(QDateTime::fromMSecsSinceEpoch(qint64(series->at(0).x() - day)),
                    QDateTime::fromMSecsSinceEpoch(qint64(series->at(series->count() - 1).x() + day)));
    }
    QChart* old = chartView_->chart();
    chartView_->setChart(chart);
    delete old;
}

void HistoryWindow::exportSite()
{
    const QString site = currentSite();
    if (!store_ || site.isEmpty())
        return;
    FileSaver saver(dialog_, defaultSaveFolder());
    const QString fileName = saver.choose(site, tr("现场记录包 (*.json)|*.json|"), QStringLiteral(".json"));
    if (fileName.isEmpty())
        return;
    const auto record = store_->siteRecord(site);
    saver.write(fileName, record.ok() ? sitePackage(*record.value) : QByteArray(), record.error);
}

void HistoryWindow::importPackage(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return warn(tr("无法读取 %1:\n%2").arg(fileName, file.errorString()));
    const PackageReading package = readSitePackage(file.readAll());
    if (!package.record)
        return warn(tr("%1 不是可导入的现场记录包:\n%2").arg(fileName, package.error));
    if (!store_)
        return warn(tr("无法打开现场记录数据库。"));
    const auto counts = store_->importSite(*package.record);
    if (!counts.ok())
        return warn(tr("导入失败，数据库未改动:\n%1").arg(counts.error));
    const QString site = package.record->site.name;
    reload();
    selectSite(site);
    dialog_->message(QMessageBox::Information, tr("导入"),
                     tr("新增 %1 个测试点、%2 次测试；%3 次测试已存在。")
                         .arg(counts.value->points)
                         .arg(counts.value->visits)
                         .arg(counts.value->visitsKept));
}

void HistoryWindow::warn(const QString& text)
{
    dialog_->beep();
    dialog_->message(QMessageBox::Warning, tr("现场记录"), text);
}

} // namespace bm::history
