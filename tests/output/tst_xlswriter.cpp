// The .xls writer, read back by an independent reader (xlrd from python3-xlrd).
#include "records/compoundfile.h"
#include "records/xlswriter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace bm;

namespace {

const char* kReadSheet = R"(
import sys, json, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
cells = [[[sheet.cell(r, c).ctype, sheet.cell(r, c).value,
           book.xf_list[sheet.cell(r, c).xf_index].alignment.hor_align]
          for c in range(sheet.ncols)] for r in range(sheet.nrows)]
print(json.dumps({"sheets": book.nsheets, "name": sheet.name, "cells": cells}))
)";

const char* kReadStream = R"(
import sys, hashlib, xlrd.compdoc
data = open(sys.argv[1], 'rb').read()
doc = xlrd.compdoc.CompDoc(data, logfile=open('/dev/null', 'w'))
stream = doc.get_named_stream('Workbook')
print(len(stream), hashlib.sha1(stream).hexdigest())
)";

constexpr int kText = 1;  // xlrd XL_CELL_TEXT
constexpr int kBlank = 6; // xlrd XL_CELL_BLANK
constexpr int kCentred = 2;
constexpr int kReaderMs = 240000; // xlrd on a big sheet, on a loaded machine

// Runs a script under the Debian interpreter, the one python3-xlrd installs into.
void python(const char* script, const QString& arg, QByteArray* out)
{
    QProcess p;
    p.start(BM_DEBIAN_PYTHON, {"-c", script, arg});
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, kReaderMs);
    QVERIFY2(p.error() == QProcess::UnknownError && p.exitCode() == 0,
             qPrintable(BM_DEBIAN_PYTHON " with xlrd failed (scripts/setup.sh installs python3-xlrd): "
                        + p.errorString() + '\n' + p.readAllStandardError()));
    *out = p.readAllStandardOutput();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

} // namespace

class TestXlsWriter : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Every cell of the only sheet, "Sheet1", equals the grid's text (cut at
    // kMaxChars), as text or as a blank, and is centred.
    void verifyReadBack(const CellGrid& grid)
    {
        const QString path = dir_.filePath("book.xls");
        writeFile(path, xls::workbook(grid));
        QByteArray json;
        python(kReadSheet, path, &json);
        if (QTest::currentTestFailed())
            return;
        const QJsonObject book = QJsonDocument::fromJson(json).object();
        QCOMPARE(book.value("sheets").toInt(), 1);
        QCOMPARE(book.value("name").toString(), "Sheet1");
        const QJsonArray cells = book.value("cells").toArray();
        QCOMPARE(cells.size(), grid.rows);
        for (int r = 0; r < grid.rows; ++r) {
            const QJsonArray row = cells[r].toArray();
            QCOMPARE(row.size(), grid.cols);
            for (int c = 0; c < grid.cols; ++c) {
                const QJsonArray cell = row[c].toArray();
                const QString text = grid.text(r, c).left(xls::kMaxChars);
                QCOMPARE(cell[0].toInt(), text.isEmpty() ? kBlank : kText);
                QCOMPARE(cell[1].toString(), text);
                QCOMPARE(cell[2].toInt(), kCentred);
            }
        }
    }

private slots:
    void textsBlanksAndCentringSurvive()
    {
        const QList<QStringList> rows{{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"},
                                      {"1", "12.5 V", "", "", "", "", ""},
                                      {"2", "", "1.23 KΩ", "", "", "2.10 KΩ", "OL KΩ"},
                                      {"3", "测量", "", "456 Ωm", "5.0 m", "", "café"}};
        verifyReadBack({4, 7, [&](int r, int c) { return rows[r][c]; }});
    }

    // Thousands of shared strings, and single strings wide and narrow longer than a
    // record, spread over CONTINUE records; one longer than a cell holds.
    void manyRowsAndLongStringsArriveWhole()
    {
        const QString wide = QString(5000, QChar(0x6D4B)) + "end";
        const QString narrow = QString(9000, 'x') + "end";
        const QString tooLong = QString(xls::kMaxChars + 10, 'y');
        verifyReadBack({10001, 7, [&](int r, int c) {
                            if (c == 0 && r % 2500 == 100)
                                return r == 100 ? wide : r == 2600 ? narrow : tooLong;
                            return r == 0 ? QStringLiteral("H%1").arg(c) : QStringLiteral("%1.%2 KΩ").arg(r).arg(c);
                        }});
    }

    void gridBeyondTheFormatIsRefusedWithAReason()
    {
        for (const auto& [rows, cols] : {std::pair{xls::kMaxRows + 1, 7}, std::pair{2, xls::kMaxCols + 1}}) {
            QString reason;
            QVERIFY(xls::workbook({rows, cols, [](int, int) { return QStringLiteral("x"); }}, &reason).isEmpty());
            QVERIFY(reason.contains("Excel"));
        }
    }

    // Above about 7 MB the FAT needs more sectors than the header can list.
    void largeStreamsUseDifatSectors()
    {
        QByteArray stream(9 * 1024 * 1024 + 123, '\0');
        for (qsizetype i = 0; i < stream.size(); ++i)
            stream[i] = static_cast<char>((i * 7919) >> 3);
        const QString path = dir_.filePath("big.cfb");
        writeFile(path, cfb::compoundFile("Workbook", stream));
        QByteArray read;
        python(kReadStream, path, &read);
        QCOMPARE(read, QByteArray::number(stream.size()) + ' '
                           + QCryptographicHash::hash(stream, QCryptographicHash::Sha1).toHex() + '\n');
    }
};

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "tst_xlswriter.moc"
