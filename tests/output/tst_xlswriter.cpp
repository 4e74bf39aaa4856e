// The .xls writer, read back by an independent reader (xlrd from python3-xlrd).
#include "records/xlswriter.h"

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

constexpr int kText = 1;  // xlrd XL_CELL_TEXT
constexpr int kBlank = 6; // xlrd XL_CELL_BLANK
constexpr int kCentred = 2;

} // namespace

class TestXlsWriter : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    // Thousands of shared strings, blanks, text beyond Latin-1, strings longer than a
    // record (spread over CONTINUE records) and longer than a cell holds, in a file
    // big enough that its FAT needs more sectors than the header can list.
    void textsBlanksAndLongStringsArriveWhole()
    {
        const QStringList header{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"};
        const CellGrid grid{10001, 7, [&](int r, int c) {
                                if (r == 0)
                                    return header[c];
                                if (c == 0 && r % 90 == 10)
                                    return r == 10 ? QString(9000, 'x') + "end"
                                                   : QString::number(r) + QString(xls::kMaxChars, QChar(0x6D4B));
                                if (r % 7 == c)
                                    return QString();
                                return r % 3 ? QStringLiteral("%1.%2 KΩ").arg(r).arg(c)
                                             : QStringLiteral("测量café%1").arg(c);
                            }};
        QFile file(dir_.filePath("book.xls"));
        const QByteArray bytes = xls::workbook(grid);
        QVERIFY(bytes.size() > 8 << 20);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        // Under the Debian interpreter, the one python3-xlrd installs into; waits however long it takes.
        QProcess p;
        p.start(BM_DEBIAN_PYTHON, {"-c", kReadSheet, file.fileName()});
        QVERIFY(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 600000));
        QVERIFY2(p.error() == QProcess::UnknownError && p.exitCode() == 0,
                 qPrintable(BM_DEBIAN_PYTHON " with xlrd failed (scripts/setup.sh installs python3-xlrd): "
                            + p.errorString() + '\n' + p.readAllStandardError()));
        // The only sheet, "Sheet1"; every cell the grid's text (cut at kMaxChars), as text or blank, centred.
        const QJsonObject book = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
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

    void gridBeyondTheFormatIsRefusedWithAReason()
    {
        for (const auto& [rows, cols] : {std::pair{xls::kMaxRows + 1, 7}, std::pair{2, xls::kMaxCols + 1}}) {
            QString reason;
            QVERIFY(xls::workbook({rows, cols, [](int, int) { return QStringLiteral("x"); }}, &reason).isEmpty());
            QVERIFY(reason.contains("Excel"));
        }
    }
};

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "tst_xlswriter.moc"
