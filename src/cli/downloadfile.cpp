#include "cli/downloadfile.h"

#include "records/ansitext.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/xlswriter.h"

#include <QStringList>

#include <algorithm>

namespace bm::cli {

QByteArray downloadFileBytes(FileFormat format, const QList<NumberedMeasurement>& records, int lastRow, QString* error)
{
    if (format == FileFormat::Csv)
        return recordsCsv(records);
    RecordTable table;
    for (const NumberedMeasurement& r : records)
        table.appendRecord(r.number, r.measurement);
    // Records missing at the end still get their (empty) rows.
    table.setRows(std::max(table.Rows(), lastRow + 1));
    if (format == FileFormat::Txt)
        return textFileBytes(tableLines(gridOf(table), lastRow));
    return xls::workbook(gridOf(table), error);
}

QString rangesText(const QList<int>& numbers)
{
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        parts << (i == j ? QString::number(numbers[i]) : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace bm::cli
