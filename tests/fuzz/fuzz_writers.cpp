// The text and spreadsheet writers over arbitrary cell texts: never a crash,
// one CR LF per line, and always a well-formed compound file. The CSV writer
// over arbitrary reply bytes: one line per record, eight fields each.
#include "link/protocol.h"
#include "records/ansitext.h"
#include "records/csvwriter.h"
#include "records/outputlines.h"
#include "records/xlswriter.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every 10 input bytes are a record as the tester would send it.
void checkCsv(const uint8_t* data, size_t size)
{
    QList<bm::NumberedMeasurement> records;
    for (size_t at = 0; at + 10 <= size; at += 10) {
        const QByteArray reply(reinterpret_cast<const char*>(data + at), 10);
        records.append({int(at / 10) + 1, *bm::protocol::decodeMeasurement(reply)});
    }
    const QStringList lines = QString::fromUtf8(bm::recordsCsv(records)).split(QLatin1Char('\n'));
    check(lines.size() == records.size() + 2 && lines.last().isEmpty());
    for (const QString& line : lines.mid(0, lines.size() - 1))
        check(line.count(QLatin1Char(',')) == 7);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkCsv(data, size);
    if (size < 2)
        return 0;
    const int rows = 1 + data[0] % 12;
    const int recordcount = static_cast<int8_t>(data[1]);
    // Cells are the input's text split at NUL bytes, in row-major order.
    const QStringList texts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2)).split(QChar(0));
    bm::CellGrid grid;
    grid.rows = rows;
    grid.cols = 7;
    grid.text = [&](int r, int c) { return texts.value(r * 7 + c); };

    const QStringList lines = bm::tableLines(grid, recordcount);
    const int wanted = 1 + std::min(recordcount > 0 ? recordcount : 1, rows - 1);
    check(lines.size() == wanted);

    const QByteArray file = bm::textFileBytes(lines);
    check(file.count("\r\n") >= lines.size());
    check(file.endsWith("\r\n"));

    QString error;
    const QByteArray book = bm::xls::workbook(grid, &error);
    check(!book.isEmpty() && error.isEmpty());
    check(book.size() % 512 == 0);
    check(book.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")));
    return 0;
}
