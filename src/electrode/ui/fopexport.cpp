#include "electrode/ui/fopexport.h"

#include "electrode/fopreport.h"
#include "electrode/ui/fopchart.h"
#include "electrode/ui/fopfigures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace bm::electrode {

namespace {

constexpr int kResolution = 300;
constexpr double kMarginMm = 18.0;
constexpr QSizeF kChartSize{720.0, 430.0};

struct FopReportText {
    Q_DECLARE_TR_FUNCTIONS(bm::electrode::FopReport)
};

QString plainNumber(double value) { return QString::number(value, 'g', 10); }

QImage plotImage(const FopReportContent& c)
{
    QGraphicsScene scene;
    auto* chart = new FopChart; // the scene owns it
    scene.addItem(chart);
    chart->resize(kChartSize);
    chart->showAnalysis(c.analysis, c.settings);
    chart->layout()->activate();
    QImage image((kChartSize * 2.0).toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(), kChartSize * 2.0), QRectF(QPointF(), kChartSize));
    return image;
}

QString tableRow(const QStringList& cells, const char* tag = "td")
{
    QString row = QStringLiteral("<tr>");
    for (const QString& c : cells)
        row += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), c.toHtmlEscaped());
    return row + QStringLiteral("</tr>");
}

QString fieldsHtml(const FopReportFields& f)
{
    QString html = QStringLiteral("<table cellspacing=\"4\">");
    html += tableRow({FopReportText::tr("地点"), f.site}) + tableRow({FopReportText::tr("操作员"), f.operatorName})
            + tableRow({FopReportText::tr("日期"), f.date.toString(Qt::ISODate)})
            + tableRow({FopReportText::tr("仪器"), f.instrument});
    html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr></table>")
                .arg(FopReportText::tr("备注").toHtmlEscaped(),
                     f.notes.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    return html;
}

QString readingsHtml(const FopReportContent& c)
{
    QString html = QStringLiteral("<table cellspacing=\"8\">")
                   + tableRow({FopReportText::tr("记录"), FopReportText::tr("距离 x (m)"), FopReportText::tr("x/C"),
                               FopReportText::tr("R (Ω)")},
                              "th");
    const double cd = c.settings.currentDistance_m;
    for (const FopRow& r : c.rows) {
        const std::optional<double> ratio = r.distance_m ? std::optional<double>(*r.distance_m / cd) : std::nullopt;
        html += tableRow({QString::number(r.record), r.distance_m ? fopNumber(r.distance_m) : QString(),
                          ratio ? QString::number(*ratio, 'f', 3) : QString(), fopNumber(r.resistance_ohm)});
    }
    return html + QStringLiteral("</table>");
}

QString reportHtml(const FopReportContent& c)
{
    QString html = QStringLiteral("<h2>%1</h2>").arg(FopReportText::tr("接地电阻测试报告（电位降法）").toHtmlEscaped());
    html += fieldsHtml(c.fields);
    html += QStringLiteral("<p><img src=\"fop://plot\" width=\"620\"></p>");
    html += QStringLiteral("<h3>%1</h3>").arg(FopReportText::tr("读数").toHtmlEscaped());
    html +=
        QStringLiteral("<p>%1</p>")
            .arg(FopReportText::tr("电流极距离 C：%1 m").arg(fopNumber(c.settings.currentDistance_m)).toHtmlEscaped());
    html += readingsHtml(c);
    html += QStringLiteral("<h3>%1</h3><table cellspacing=\"4\">").arg(FopReportText::tr("结果").toHtmlEscaped());
    for (const FopFigure& f : fopFigures(c.analysis, c.settings))
        html += tableRow({f.name, f.value});
    html += QStringLiteral("</table><p><b>%1</b></p>").arg(fopVerdictText(c.analysis, c.settings).toHtmlEscaped());
    return html;
}

} // namespace

QByteArray fopCsv(const std::vector<FopRow>& rows, const FopSettings& settings, const FopAnalysis& analysis)
{
    std::vector<const FopRow*> used;
    for (const FopRow& r : rows)
        if (r.distance_m && withinTest({*r.distance_m, r.resistance_ohm}, settings.currentDistance_m))
            used.push_back(&r);
    QStringList figures{QStringLiteral("current_distance_m=") + plainNumber(settings.currentDistance_m)};
    for (const QString& line : keyValueReport(analysis).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        figures.append(line);

    QString out = QStringLiteral("record,distance_m,resistance_ohm,figure,value\n");
    for (size_t i = 0; i < std::max(used.size(), size_t(figures.size())); ++i) {
        QStringList cells(5);
        if (i < used.size()) {
            cells[0] = QString::number(used[i]->record);
            cells[1] = plainNumber(*used[i]->distance_m);
            cells[2] = plainNumber(used[i]->resistance_ohm);
        }
        if (i < size_t(figures.size())) {
            cells[3] = figures[qsizetype(i)].section(QLatin1Char('='), 0, 0);
            const QString value = figures[qsizetype(i)].section(QLatin1Char('='), 1);
            cells[4] = value == QLatin1String("-") ? QString() : value;
        }
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray fopReportPdf(const FopReportContent& content, QString* error)
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
        writer.setTitle(FopReportText::tr("接地电阻测试报告（电位降法）"));
        writer.setCreator(QStringLiteral("Brackenmoor"));
        QTextDocument doc;
        QFont font;
        // Latin first: the digits of a CJK face do not always read back as text.
        font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
        font.setPointSizeF(10.0);
        doc.setDefaultFont(font);
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("fop://plot")), plotImage(content));
        doc.setHtml(reportHtml(content));
        doc.print(&writer);
    }
    if (bytes.isEmpty())
        *error = FopReportText::tr("无法生成PDF");
    return bytes;
}

} // namespace bm::electrode
