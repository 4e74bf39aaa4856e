#include "electrode/ui/fopwindow.h"

#include "electrode/ui/fopchart.h"
#include "electrode/ui/fopfigures.h"
#include "electrode/ui/foppointmodel.h"
#include "electrode/ui/fopsession.h"
#include "output/commondialog.h"
#include "records/savetargets.h"

#include <QChartView>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace bm::electrode {

namespace {

QDoubleSpinBox* spin(QWidget* parent, const char* name, double lo, double hi, double value, const QString& suffix)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lo, hi);
    box->setDecimals(2);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

} // namespace

FopWindow::FopWindow(const RecordTable& table, QWidget* parent) : FopWindow(table, nullptr, parent)
{
    ownDialog_ = std::make_unique<QtCommonDialog>(this);
    dialog_ = ownDialog_.get();
    saver_ = FileSaver(dialog_, saver_.folder());
}

FopWindow::FopWindow(const RecordTable& table, CommonDialog* dialog, QWidget* parent)
    : QWidget(parent, Qt::Window), dialog_(dialog), saver_(dialog, defaultSaveFolder()),
      session_(new FopSession(table, this)), pointModel_(new FopPointModel(*session_, this))
{
    setObjectName(QStringLiteral("fopWindow"));
    setWindowTitle(tr("接地电阻分析"));
    // Not following the table until shown: a hidden window costs a download nothing.
    session_->setPaused(true);

    chart_ = new FopChart;
    auto* view = new QChartView(chart_, this); // takes the chart
    view->setObjectName(QStringLiteral("fopChart"));
    view->setRenderHint(QPainter::Antialiasing);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(view);
    splitter->addWidget(buildSide());
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({700, 440});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(1140, 760);

    connect(session_, &FopSession::changed, this, &FopWindow::showAnalysis);
    applySettings();
}

FopWindow::~FopWindow() = default;

QWidget* FopWindow::buildSide()
{
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSettings());

    auto* points = new QTableView(side);
    points->setObjectName(QStringLiteral("fopPoints"));
    points->setModel(pointModel_);
    points->verticalHeader()->hide();
    points->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(points, 1);

    figures_ = new QLabel(side);
    figures_->setObjectName(QStringLiteral("fopFigures"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(figures_);
    verdict_ = new QLabel(side);
    verdict_->setObjectName(QStringLiteral("fopVerdict"));
    verdict_->setWordWrap(true);
    layout->addWidget(verdict_);
    layout->addWidget(buildFields());

    auto* buttons = new QHBoxLayout;
    auto* report = new QPushButton(tr("导出报告"), side);
    report->setObjectName(QStringLiteral("exportReport"));
    auto* csv = new QPushButton(tr("导出CSV"), side);
    csv->setObjectName(QStringLiteral("exportCsv"));
    connect(report, &QPushButton::clicked, this, &FopWindow::exportReport);
    connect(csv, &QPushButton::clicked, this, &FopWindow::exportCsv);
    buttons->addStretch();
    buttons->addWidget(report);
    buttons->addWidget(csv);
    layout->addLayout(buttons);
    return side;
}

QWidget* FopWindow::buildSettings()
{
    auto* box = new QGroupBox(tr("测试"), this);
    auto* form = new QFormLayout(box);
    current_ =
        spin(box, "currentDistance", 0.1, 100000.0, session_->settings().currentDistance_m, QStringLiteral(" m"));
    plateau_ = spin(box, "plateauPercent", 0.0, 100.0, 5.0, QStringLiteral(" %"));
    limit_ = spin(box, "limit", 0.0, 100000.0, 0.0, QStringLiteral(" Ω"));
    limit_->setSpecialValueText(tr("无"));
    for (QDoubleSpinBox* s : {current_, plateau_, limit_})
        connect(s, &QDoubleSpinBox::valueChanged, this, &FopWindow::applySettings);
    form->addRow(tr("电流极距离 C"), current_);
    form->addRow(tr("平台允许偏差"), plateau_);
    form->addRow(tr("电阻限值"), limit_);

    auto* fill = new QHBoxLayout;
    first_ = spin(box, "firstDistance", 0.01, 100000.0, 10.0, QStringLiteral(" m"));
    step_ = spin(box, "distanceStep", 0.01, 100000.0, 10.0, QStringLiteral(" m"));
    auto* button = new QPushButton(tr("均匀填充"), box);
    button->setObjectName(QStringLiteral("fillDistances"));
    connect(button, &QPushButton::clicked, this, [this] { session_->fillDistances(first_->value(), step_->value()); });
    fill->addWidget(first_);
    fill->addWidget(new QLabel(tr("步长"), box));
    fill->addWidget(step_);
    fill->addWidget(button);
    form->addRow(tr("首个距离"), fill);
    return box;
}

QWidget* FopWindow::buildFields()
{
    auto* box = new QGroupBox(tr("报告"), this);
    auto* form = new QFormLayout(box);
    const auto line = [box](const char* name) {
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QString::fromLatin1(name));
        return edit;
    };
    site_ = line("site");
    operator_ = line("operator");
    instrument_ = line("instrument");
    date_ = new QDateEdit(QDate::currentDate(), box);
    date_->setObjectName(QStringLiteral("date"));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    notes_ = new QPlainTextEdit(box);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setMaximumHeight(60);
    form->addRow(tr("地点"), site_);
    form->addRow(tr("操作员"), operator_);
    form->addRow(tr("日期"), date_);
    form->addRow(tr("仪器"), instrument_);
    form->addRow(tr("备注"), notes_);
    return box;
}

FopReportFields FopWindow::fields() const
{
    return {site_->text(), operator_->text(), date_->date(), instrument_->text(), notes_->toPlainText()};
}

void FopWindow::showEvent(QShowEvent* event)
{
    session_->setPaused(false);
    QWidget::showEvent(event);
}

void FopWindow::hideEvent(QHideEvent* event)
{
    session_->setPaused(true);
    QWidget::hideEvent(event);
}

void FopWindow::applySettings()
{
    FopSettings s{current_->value(), plateau_->value(), std::nullopt};
    if (limit_->value() > 0.0)
        s.limit_ohm = limit_->value();
    session_->setSettings(s);
}

void FopWindow::showAnalysis()
{
    const FopAnalysis& a = session_->analysis();
    chart_->showAnalysis(a, session_->settings());
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (const FopFigure& f : fopFigures(a, session_->settings()))
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;&nbsp;%2</td></tr>")
                    .arg(f.name.toHtmlEscaped(), f.value.toHtmlEscaped());
    figures_->setText(html + QStringLiteral("</table>"));
    verdict_->setText(fopVerdictText(a, session_->settings()));
}

QString FopWindow::chooseFile(const QString& filter, const QString& defaultExt)
{
    dialog_->FilterIndex = 1;
    return saver_.choose(QStringLiteral("earth-") + fields().date.toString(Qt::ISODate), filter, defaultExt);
}

void FopWindow::exportReport()
{
    const QString fileName = chooseFile(tr("PDF文件 (*.pdf)|*.pdf|"), QStringLiteral(".pdf"));
    if (fileName.isEmpty())
        return;
    QString reason;
    const QByteArray bytes =
        fopReportPdf({fields(), session_->rows(), session_->settings(), session_->analysis()}, &reason);
    saver_.write(fileName, bytes, reason);
}

void FopWindow::exportCsv()
{
    const QString fileName = chooseFile(tr("CSV文件 (*.csv)|*.csv|"), QStringLiteral(".csv"));
    if (fileName.isEmpty())
        return;
    saver_.write(fileName, fopCsv(session_->rows(), session_->settings(), session_->analysis()));
}

} // namespace bm::electrode
