#pragma once

#include "model/reading.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace bm {

class RecordTable;

// Read access to a grid of text cells, so the line and file builders need no table object.
struct CellGrid {
    int rows = 0;
    int cols = 0;
    std::function<QString(int row, int col)> text;

    // Empty outside the grid.
    QString cell(int row, int col) const;
};

CellGrid gridOf(const RecordTable& table);

// The table as space-aligned lines: the header row, then rows 1 to N, where N is
// recordcount when above 0, else 1. A row the table no longer has (after Clear)
// gives no line. Used by the text save and by printing alike.
QStringList tableLines(const CellGrid& grid, int recordcount);

// The reading as the text save writes it: one or two lines by testmode, none for
// an unknown mode.
QStringList readingSaveLines(const Reading& reading);

// The reading as printed: like the saved lines, with the printout's own Rp heading,
// then a last line of five spaces.
QStringList readingPrintLines(const Reading& reading);

} // namespace bm
