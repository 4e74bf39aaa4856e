#include "output/lineprinter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace bm {

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

QFont printFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono CJK SC"),
                      QStringLiteral("Courier New"), QStringLiteral("SimSun")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

QString printLines(QPagedPaintDevice& device, const QStringList& lines, int topTwips)
{
    QPainter painter;
    if (!painter.begin(&device))
        return QCoreApplication::translate("bm::OutputCommands", "打印机无法开始打印");
    const QFont font = printFont();
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double lineHeight = metrics.lineSpacing();
    const double pageHeight = device.height();
    double y = topTwips * device.logicalDpiY() / kTwipsPerInch;
    for (const QString& line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            device.newPage();
            y = 0;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), line);
        y += lineHeight;
    }
    painter.end();
    return {};
}

} // namespace bm
