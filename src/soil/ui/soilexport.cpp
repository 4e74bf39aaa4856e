#include "soil/ui/soilexport.h"
#include "soil/ui/verdicttext.h"

#include "output/lineprinter.h"
#include "soil/ui/soilchart.h"
#include "soil/ui/soilfigures.h"
#include "soil/ui/soilpointmodel.h"
#include "soil/layeredearth.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace bm::soil {

namespace {

constexpr int kCsvCurveSamples = 41;
constexpr int kResolution = 300;
constexpr double kMarginMm = 18.0;
constexpr QSizeF kChartSize{720.0, 430.0}; // as laid out; drawn to the page width

struct SoilReportText {
    Q_DECLARE_TR_FUNCTIONS(bm::soil::SoilReport)
};

QFont reportFont(double points, bool bold = false)
{
    QFont font;
    // Latin first: the digits of a CJK face do not always read back as text.
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws top-down on the writer's pages and starts a new page whenever the next
// piece would not fit.
class Pages {
public:
    Pages(QPdfWriter& writer, QPainter& painter)
        : writer_(writer), painter_(painter), width_(writer.width()), height_(writer.height())
    {
    }

    double width() const { return width_; }
    double mm(double millimetres) const { return millimetres * kResolution / 25.4; }

    void skip(double millimetres) { y_ += mm(millimetres); }

    // Word-wrapped text; each line break of the text starts a new line.
    void text(const QString& text, const QFont& font, double indent = 0.0)
    {
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            QTextLayout layout(paragraph, font, &writer_);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(width_ - indent);
            layout.endLayout();
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                ensure(line.height());
                line.draw(&painter_, QPointF(indent, y_ - line.y()));
                y_ += line.height();
            }
        }
    }

    // One line of cells, each starting at its fraction of the width.
    void row(const QStringList& cells, const std::vector<double>& at, const QFont& font)
    {
        const QFontMetricsF metrics(font, &writer_);
        ensure(metrics.lineSpacing());
        painter_.setFont(font);
        for (qsizetype i = 0; i < cells.size() && size_t(i) < at.size(); ++i)
            painter_.drawText(QPointF(at[size_t(i)] * width_, y_ + metrics.ascent()), cells[i]);
        y_ += metrics.lineSpacing();
    }

    // A heading and its first lines stay together.
    void keepTogether(double millimetres) { ensure(mm(millimetres)); }

    // Room of the given height, on a new page when this one has too little left.
    QRectF take(double height)
    {
        ensure(height);
        const QRectF r(0.0, y_, width_, height);
        y_ += height;
        return r;
    }

private:
    void ensure(double height)
    {
        if (y_ > 0.0 && y_ + height > height_) {
            writer_.newPage();
            y_ = 0.0;
        }
    }

    QPdfWriter& writer_;
    QPainter& painter_;
    double width_;
    double height_;
    double y_ = 0.0;
};

void drawFields(Pages& pages, const ReportFields& f)
{
    const QFont font = reportFont(10.5);
    const std::vector<double> at{0.0, 0.16};
    pages.row({SoilReportText::tr("地点"), f.site}, at, font);
    pages.row({SoilReportText::tr("操作员"), f.operatorName}, at, font);
    pages.row({SoilReportText::tr("日期"), f.date.toString(Qt::ISODate)}, at, font);
    pages.row({SoilReportText::tr("仪器"), f.instrument}, at, font);
    pages.row({SoilReportText::tr("备注"), QString()}, at, font);
    pages.text(f.notes, font, pages.width() * 0.16);
}

void drawPlot(Pages& pages, QPainter& painter, const ReportContent& c)
{
    QGraphicsScene scene;
    auto* chart = new SoilChart; // the scene owns it
    scene.addItem(chart);
    chart->resize(kChartSize);
    chart->showAnalysis(c.points, c.analysis);
    chart->layout()->activate();
    const QRectF target = pages.take(pages.width() * kChartSize.height() / kChartSize.width());
    scene.render(&painter, target, QRectF(QPointF(), kChartSize));
}

// The columns of each point's layout, right of the existing ones.
QStringList layoutCells(const SoilPoint& p)
{
    return {SoilPointModel::arrayName(p.array), p.array == Array::Schlumberger ? figure(p.mn2_m) : QString(),
            p.traverse};
}

void drawPoints(Pages& pages, const std::vector<RecordPoint>& points)
{
    const std::vector<double> at{0.0, 0.15, 0.35, 0.6, 0.7, 0.83, 0.93};
    pages.row(QStringList{SoilReportText::tr("记录"), SoilReportText::tr("间距 a (m)"), SoilReportText::tr("ρa (Ω·m)"),
                          SoilReportText::tr("计入")}
                  + QStringList{SoilReportText::tr("排列"), SoilReportText::tr("MN/2 (m)"), SoilReportText::tr("测线")},
              at, reportFont(9.5, true));
    const QFont font = reportFont(9.5);
    for (const RecordPoint& p : points)
        pages.row(QStringList{QString::number(p.record), figure(p.point.spacing_m), figure(p.point.rho_ohm_m),
                              p.point.included ? SoilReportText::tr("是") : SoilReportText::tr("否")}
                      + layoutCells(p.point),
                  at, font);
}

void drawModel(Pages& pages, const QString& title, const std::vector<FigureRow>& rows)
{
    pages.row({title}, {0.0}, reportFont(10.5, true));
    for (const FigureRow& r : rows)
        pages.row({r.name, r.value}, {0.04, 0.35}, reportFont(10.5));
    pages.skip(2.0);
}

void drawModels(Pages& pages, const SoilAnalysis& a)
{
    if (a.twoLayer)
        drawModel(pages, twoLayerTitle(), twoLayerRows(*a.twoLayer));
    if (a.uniform)
        drawModel(pages, uniformTitle(), uniformRows(*a.uniform));
    if (a.verdict != SoilAnalysis::Verdict::BothModels)
        pages.text(verdictText(a), reportFont(10.0));
}

// The three-layer model, the choice with its rule, and each traverse's own fit.
void drawSurvey(Pages& pages, const SoilAnalysis& a)
{
    pages.skip(2.0);
    if (a.threeLayer)
        drawModel(pages, threeLayerTitle(), threeLayerRows(*a.threeLayer));
    else if (!a.threeLayerMessage.isEmpty())
        pages.text(threeLayerText(a), reportFont(10.0));
    if (a.layersChosen > 0)
        pages.text(layerChoiceText(a), reportFont(10.0, true));
    if (a.traverses.empty())
        return;
    pages.skip(3.0);
    pages.keepTogether(20.0);
    pages.text(SoilReportText::tr("各测线的拟合"), reportFont(11.5, true));
    for (const TraverseFit& t : a.traverses)
        pages.text(traverseLine(t), reportFont(10.0));
    if (a.traversesDisagree)
        pages.text(traversesDisagreeText(), reportFont(10.0, true));
}

void drawDesign(Pages& pages, const design::DesignSection& d)
{
    pages.keepTogether(30.0);
    pages.text(design::designTitle(), reportFont(13.0, true));
    drawModel(pages, SoilReportText::tr("输入"), d.inputs);
    drawModel(pages, SoilReportText::tr("结果"), d.results);
    pages.text(d.verdict, reportFont(10.5, true));
    pages.skip(4.0);
}

void drawRecords(Pages& pages, const QStringList& lines)
{
    QFont font = printFont();
    font.setPointSize(9);
    for (const QString& line : lines)
        pages.row({line}, {0.0}, font);
}

void drawReport(Pages& pages, QPainter& painter, const ReportContent& c)
{
    pages.text(SoilReportText::tr("土壤电阻率分析报告"), reportFont(16.0, true));
    pages.skip(3.0);
    drawFields(pages, c.fields);
    pages.skip(4.0);
    if (!c.points.empty()) {
        drawPlot(pages, painter, c);
        pages.skip(4.0);
    }
    pages.text(SoilReportText::tr("模型"), reportFont(13.0, true));
    drawModels(pages, c.analysis);
    drawSurvey(pages, c.analysis);
    pages.skip(4.0);
    if (c.design)
        drawDesign(pages, *c.design);
    pages.keepTogether(30.0);
    pages.text(SoilReportText::tr("温纳法读数"), reportFont(13.0, true));
    drawPoints(pages, c.points);
    pages.skip(4.0);
    pages.keepTogether(30.0);
    pages.text(SoilReportText::tr("下载的记录"), reportFont(13.0, true));
    drawRecords(pages, c.recordLines);
}

// A point's array, MN/2 (Schlumberger only) and traverse, so the soil command reads
// the file back as the same survey.
void surveyCells(const SoilPoint& p, QStringList& cells)
{
    const bool schlumberger = p.array == Array::Schlumberger;
    cells[7] = schlumberger ? QStringLiteral("schlumberger") : QStringLiteral("wenner");
    cells[8] = schlumberger ? plainNumber(p.mn2_m) : QString();
    cells[9] = p.traverse;
}

// A model's apparent resistivity at spacing a for the curves' layout; empty where it has none.
QString modelCell(const Layers& layers, SoilPoint layout, double a)
{
    layout.spacing_m = a;
    const double rho = apparentOver(layout, layers);
    return std::isfinite(rho) ? plainNumber(rho) : QString();
}

} // namespace

QByteArray soilCsv(const std::vector<RecordPoint>& points, const SoilAnalysis& analysis)
{
    const auto [aLo, aHi] = spacingRange(points);
    const std::vector<double> samples =
        analysis.uniform ? logSpaced(aLo, aHi, kCsvCurveSamples) : std::vector<double>();
    const std::optional<TwoLayerModel>& two = analysis.twoLayer;
    const SoilPoint layout = curveLayout(points);

    QString out =
        QStringLiteral("record,spacing_m,resistivity_ohm_m,included,model_spacing_m,two_layer_ohm_m,uniform_ohm_m,"
                       "array,mn2_m,traverse,three_layer_ohm_m\n");
    for (size_t i = 0; i < std::max(points.size(), samples.size()); ++i) {
        QStringList cells(11);
        if (i < points.size()) {
            const RecordPoint& p = points[i];
            cells[0] = QString::number(p.record);
            cells[1] = plainNumber(p.point.spacing_m);
            // A Schlumberger point still without its MN/2 has no resistivity to write.
            cells[2] = std::isfinite(p.point.rho_ohm_m) ? plainNumber(p.point.rho_ohm_m) : QString();
            cells[3] = p.point.included ? QStringLiteral("1") : QStringLiteral("0");
            surveyCells(p.point, cells);
        }
        if (i < samples.size()) {
            const double a = samples[i];
            cells[4] = plainNumber(a);
            if (two)
                cells[5] = modelCell(layersOf(*two), layout, a);
            cells[6] = plainNumber(analysis.uniform->rho_ohm_m);
            if (analysis.threeLayer)
                cells[10] = modelCell(layersOf(*analysis.threeLayer), layout, a);
        }
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray soilReportPdf(const ReportContent& content, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(SoilReportText::tr("土壤电阻率分析报告"));
        writer.setCreator(QStringLiteral("Brackenmoor"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = SoilReportText::tr("无法生成PDF");
            return {};
        }
        Pages pages(writer, painter);
        drawReport(pages, painter, content);
        painter.end();
    }
    if (bytes.isEmpty())
        *error = SoilReportText::tr("无法生成PDF");
    return bytes;
}

} // namespace bm::soil
