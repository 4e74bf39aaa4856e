#pragma once

#include "records/outputlines.h"

#include <QByteArray>
#include <QString>

namespace bm::xls {

// Limits of the Excel 97-2003 format.
constexpr int kMaxRows = 65536;
constexpr int kMaxCols = 256;
constexpr int kMaxChars = 32767;

// An Excel 97-2003 workbook (BIFF8 in a compound file) with one worksheet "Sheet1":
// grid cell (r, c) becomes sheet cell (r + 1, c + 1) as text, every cell centred,
// empty cells as centred blanks. An empty result and the reason in *error when the
// grid exceeds the format's limits. Texts longer than kMaxChars are cut there.
QByteArray workbook(const CellGrid& grid, QString* error = nullptr);

// The BIFF8 "Workbook" stream alone.
QByteArray workbookStream(const CellGrid& grid);

} // namespace bm::xls
