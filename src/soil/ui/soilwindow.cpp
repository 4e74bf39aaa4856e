#include "soil/ui/soilwindow.h"
#include "soil/ui/verdicttext.h"

#include "design/ui/designpanel.h"
#include "soil/designsoil.h"
#include "output/commondialog.h"
#include "output/outputcommands.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/savetargets.h"
#include "soil/ui/arraydelegate.h"
#include "soil/ui/soilchart.h"
#include "soil/ui/soilfigures.h"
#include "soil/ui/soilpointmodel.h"
#include "soil/ui/soilsession.h"

#include <QChartView>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace bm::soil {

SoilWindow::SoilWindow(const RecordTable& table, QWidget* parent) : SoilWindow(table, nullptr, parent)
{
    ownDialog_ = std::make_unique<QtCommonDialog>(this);
    dialog_ = ownDialog_.get();
    saver_ = FileSaver(dialog_, saver_.folder());
}

SoilWindow::SoilWindow(const RecordTable& table, CommonDialog* dialog, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), dialog_(dialog), saver_(dialog, defaultSaveFolder()),
      session_(new SoilSession(table, this)), pointModel_(new SoilPointModel(*session_, this))
{
    setObjectName(QStringLiteral("soilWindow"));
    setWindowTitle(tr("土壤分析"));
    // Not following the table until shown: a hidden window costs a download nothing.
    session_->setPaused(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildPlot());
    splitter->addWidget(buildSide());
    // The electrode designed in the fitted soil, beside the analysis.
    design_ = new design::DesignPanel(splitter);
    splitter->addWidget(design_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setStretchFactor(2, 0);
    splitter->setSizes({700, 420, 360});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(1480, 720);

    connect(session_, &SoilSession::changed, this, &SoilWindow::showAnalysis);
    showAnalysis();
}

SoilWindow::~SoilWindow() = default;

QWidget* SoilWindow::buildPlot()
{
    plotStack_ = new QStackedWidget(this);
    chart_ = new SoilChart;
    auto* view = new QChartView(chart_, plotStack_); // takes the chart
    view->setObjectName(QStringLiteral("soilChart"));
    view->setRenderHint(QPainter::Antialiasing);
    emptyLabel_ = new QLabel(plotStack_);
    emptyLabel_->setObjectName(QStringLiteral("soilEmpty"));
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->setWordWrap(true);
    plotStack_->addWidget(view);
    plotStack_->addWidget(emptyLabel_);
    return plotStack_;
}

QWidget* SoilWindow::buildSide()
{
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* points = new QTableView(side);
    points->setObjectName(QStringLiteral("soilPoints"));
    points->setModel(pointModel_);
    points->verticalHeader()->hide();
    points->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    points->setSelectionBehavior(QAbstractItemView::SelectRows);
    points->setItemDelegateForColumn(SoilPointModel::ArrayColumn, new ArrayDelegate(points));
    layout->addWidget(points, 1);

    figures_ = new QLabel(side);
    figures_->setObjectName(QStringLiteral("soilFigures"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(figures_);
    message_ = new QLabel(side);
    message_->setObjectName(QStringLiteral("soilMessage"));
    message_->setWordWrap(true);
    layout->addWidget(message_);
    layout->addWidget(buildFields());

    auto* buttons = new QHBoxLayout;
    auto* report = new QPushButton(tr("导出报告"), side);
    report->setObjectName(QStringLiteral("exportReport"));
    auto* csv = new QPushButton(tr("导出CSV"), side);
    csv->setObjectName(QStringLiteral("exportCsv"));
    connect(report, &QPushButton::clicked, this, &SoilWindow::exportReport);
    connect(csv, &QPushButton::clicked, this, &SoilWindow::exportCsv);
    buttons->addStretch();
    buttons->addWidget(report);
    buttons->addWidget(csv);
    layout->addLayout(buttons);
    return side;
}

QWidget* SoilWindow::buildFields()
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
    notes_->setMaximumHeight(72);
    form->addRow(tr("地点"), site_);
    form->addRow(tr("操作员"), operator_);
    form->addRow(tr("日期"), date_);
    form->addRow(tr("仪器"), instrument_);
    form->addRow(tr("备注"), notes_);
    return box;
}

ReportFields SoilWindow::fields() const
{
    return {site_->text(), operator_->text(), date_->date(), instrument_->text(), notes_->toPlainText()};
}

void SoilWindow::showEvent(QShowEvent* event)
{
    session_->setPaused(false);
    QWidget::showEvent(event);
}

void SoilWindow::hideEvent(QHideEvent* event)
{
    session_->setPaused(true);
    QWidget::hideEvent(event);
}

void SoilWindow::showAnalysis()
{
    const SoilAnalysis& a = session_->analysis();
    const bool empty = session_->points().empty();
    chart_->showAnalysis(session_->points(), a);
    emptyLabel_->setText(verdictText(a));
    plotStack_->setCurrentIndex(empty ? 1 : 0);
    figures_->setText(figuresHtml());
    figures_->setVisible(a.uniform.has_value());
    message_->setText(verdictText(a));
    message_->setVisible(!empty && a.verdict != SoilAnalysis::Verdict::BothModels);
    design_->setSoil(designSoil(a));
}

QString SoilWindow::figuresHtml() const
{
    const SoilAnalysis& a = session_->analysis();
    QString html;
    const auto model = [&html](const QString& title, const std::vector<FigureRow>& rows) {
        html += QStringLiteral("<p><b>%1</b></p><table cellspacing=\"2\">").arg(title.toHtmlEscaped());
        for (const FigureRow& r : rows)
            html += QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;&nbsp;%2</td></tr>")
                        .arg(r.name.toHtmlEscaped(), r.value.toHtmlEscaped());
        html += QStringLiteral("</table>");
    };
    if (a.twoLayer)
        model(twoLayerTitle(), twoLayerRows(*a.twoLayer));
    if (a.uniform)
        model(uniformTitle(), uniformRows(*a.uniform));
    return html + surveyHtml();
}

// The three-layer model, the choice and each traverse's fit, below the two models.
QString SoilWindow::surveyHtml() const
{
    const SoilAnalysis& a = session_->analysis();
    QString html;
    if (a.threeLayer) {
        html += QStringLiteral("<p><b>%1</b></p><table cellspacing=\"2\">").arg(threeLayerTitle().toHtmlEscaped());
        for (const FigureRow& r : threeLayerRows(*a.threeLayer))
            html += QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;&nbsp;%2</td></tr>")
                        .arg(r.name.toHtmlEscaped(), r.value.toHtmlEscaped());
        html += QStringLiteral("</table>");
    } else if (!a.threeLayerMessage.isEmpty()) {
        html += QStringLiteral("<p>%1</p>").arg(threeLayerText(a).toHtmlEscaped());
    }
    if (a.layersChosen > 0)
        html += QStringLiteral("<p>%1</p>").arg(layerChoiceText(a).toHtmlEscaped());
    for (const TraverseFit& t : a.traverses)
        html += QStringLiteral("%1<br>").arg(traverseLine(t).toHtmlEscaped());
    if (a.traversesDisagree)
        html += QStringLiteral("<p><b>%1</b></p>").arg(traversesDisagreeText().toHtmlEscaped());
    return html;
}

QString SoilWindow::chooseFile(const QString& filter, const QString& defaultExt)
{
    dialog_->FilterIndex = 1;
    return saver_.choose(QStringLiteral("soil-") + fields().date.toString(Qt::ISODate), filter, defaultExt);
}

void SoilWindow::exportReport()
{
    const QString fileName = chooseFile(tr("PDF文件 (*.pdf)|*.pdf|"), QStringLiteral(".pdf"));
    if (fileName.isEmpty())
        return;
    ReportContent content{fields(), session_->points(), session_->analysis(),
                          tableLines(gridOf(table_), table_.Rows() - 1), design_->section()};
    QString reason;
    const QByteArray bytes = soilReportPdf(content, &reason);
    saver_.write(fileName, bytes, reason);
}

void SoilWindow::exportCsv()
{
    const QString fileName = chooseFile(tr("CSV文件 (*.csv)|*.csv|"), QStringLiteral(".csv"));
    if (fileName.isEmpty())
        return;
    saver_.write(fileName, soilCsv(session_->points(), session_->analysis()));
}

} // namespace bm::soil
