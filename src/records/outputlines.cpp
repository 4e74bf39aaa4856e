#include "records/outputlines.h"

#include "records/recordtable.h"

#include <array>

namespace bm {

namespace {

// Spaces after columns 0 to 5; column 6 ends the line.
using Runs = std::array<int, 6>;
constexpr Runs kHeaderRuns{2, 6, 6, 7, 6, 12};
constexpr Runs kFilledRRuns{2, 6, 8, 9, 8, 7};
constexpr Runs kEmptyRRuns{2, 6, 6, 7, 6, 7};
constexpr int kColR = 2;
constexpr int kLineCols = 7;

QString joinRow(const CellGrid& grid, int row, const Runs& runs)
{
    QString line;
    for (int c = 0; c < kLineCols; ++c) {
        line += grid.cell(row, c);
        if (c < kLineCols - 1)
            line += QString(runs[static_cast<size_t>(c)], QLatin1Char(' '));
    }
    return line;
}

const QString kIndent = QStringLiteral("         ");

// The two callers differ only in the Rp heading of the resistance layout.
QStringList readingLines(const Reading& reading, const QString& rpHeading)
{
    switch (reading.testmode) {
    case 1: return {kIndent + QStringLiteral("    V:    ") + reading.v};
    case 2:
        return {kIndent + QStringLiteral("    R    ") + QStringLiteral("   Rc    ") + rpHeading,
                kIndent + QStringLiteral("  ") + reading.r + QStringLiteral("   ") + reading.rc + QStringLiteral("   ")
                    + reading.rp};
    case 3:
        return {kIndent + QStringLiteral("    ρ    ") + QStringLiteral("   ρ length    ") + QStringLiteral("   Rc   ")
                    + QStringLiteral("   Rp    "),
                kIndent + QStringLiteral("  ") + reading.p + QStringLiteral("     ") + reading.p_length
                    + QStringLiteral("       ") + reading.rc + QStringLiteral("  ") + reading.rp};
    default: return {};
    }
}

} // namespace

QString CellGrid::cell(int row, int col) const
{
    if (!text || row < 0 || row >= rows || col < 0 || col >= cols)
        return {};
    return text(row, col);
}

CellGrid gridOf(const RecordTable& table)
{
    return CellGrid{table.Rows(), table.Cols(), [&table](int row, int col) { return table.TextMatrix(row, col); }};
}

QStringList tableLines(const CellGrid& grid, int recordcount)
{
    QStringList lines;
    if (grid.rows < 1)
        return lines;
    lines.reserve(grid.rows);
    lines << joinRow(grid, 0, kHeaderRuns);
    const int n = recordcount > 0 ? recordcount : 1;
    for (int i = 1; i <= n && i < grid.rows; ++i) {
        // A single space counts as filled: only a truly empty R cell takes the narrow runs.
        const bool filledR = !grid.cell(i, kColR).isEmpty();
        lines << joinRow(grid, i, filledR ? kFilledRRuns : kEmptyRRuns);
    }
    return lines;
}

QStringList readingSaveLines(const Reading& reading) { return readingLines(reading, QStringLiteral("   Rp   ")); }

QStringList readingPrintLines(const Reading& reading)
{
    QStringList lines = readingLines(reading, QStringLiteral("    Rp   "));
    lines << QStringLiteral("     ");
    return lines;
}

} // namespace bm
