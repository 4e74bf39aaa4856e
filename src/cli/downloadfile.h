#pragma once

#include "cli/options.h"
#include "records/csvwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace bm::cli {

// The file of a download: `records` in number order, rows up to `lastRow`.
// txt and xls are what the window's table save writes for a table holding
// these records with `lastRow` as its record count (a missing record is an
// empty row); CSV lists only the records that arrived. Empty with *error
// when the format cannot hold them.
QByteArray downloadFileBytes(FileFormat format, const QList<NumberedMeasurement>& records, int lastRow, QString* error);

// Numbers as short ranges: "5, 9-12, 40-200".
QString rangesText(const QList<int>& numbers);

} // namespace bm::cli
