// What saved files and printouts are made of: table and reading lines, GBK bytes,
// and the .xls workbook read back by an independent reader (xlrd from python3-xlrd).
#include "records/ansitext.h"
#include "records/outputlines.h"
#include "records/savetargets.h"
#include "records/xlswriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace bm;

namespace {

const QStringList kHeader{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"};

CellGrid gridOf(const QList<QStringList>& rows)
{
    return {static_cast<int>(rows.size()), 7, [rows](int r, int c) { return rows[r].value(c); }};
}

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

QString sp(int n) { return QString(n, ' '); }

Reading readingOf(int mode)
{
    Reading r;
    std::tie(r.testmode, r.v, r.r, r.p, r.p_length, r.rc, r.rp) =
        std::tuple(mode, "12.5 V", "1.23 KΩ", "456 Ωm", "5.0 m", "2.10 KΩ", "OL KΩ");
    return r;
}

} // namespace

class TestFileFormats : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    // The rows follow the record count, but never past the table.
    void filledRTakesWideRunsEmptyRNarrowOnes()
    {
        const CellGrid grid = gridOf({kHeader,
                                      {"1", "12.5 V", "", "", "", "", ""},
                                      {"2", "", "1.23 KΩ", "", "", "2.10 KΩ", "OL KΩ"},
                                      {"3", "", "", "456 Ωm", "5.0 m", "2.10 KΩ", "0.98 KΩ"},
                                      {"4", "", " ", "", "", "", ""}});
        const QStringList lines = tableLines(grid, 9);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(tableLines(grid, 2), lines.mid(0, 3));
        QCOMPARE(tableLines(grid, -7), lines.mid(0, 2));
        // A cleared table with the count of an earlier download: header and a blank row 1.
        QCOMPARE(tableLines(gridOf({kHeader, QStringList(7)}), 120), (QStringList{lines[0], sp(34)}));
        QCOMPARE(lines[1], "1" + sp(2) + "12.5 V" + sp(6 + 6 + 7 + 6 + 7));
        QCOMPARE(lines[2], "2" + sp(2 + 6) + "1.23 KΩ" + sp(8 + 9 + 8) + "2.10 KΩ" + sp(7) + "OL KΩ");
        QCOMPARE(lines[3], "3" + sp(2 + 6 + 6) + "456 Ωm" + sp(7) + "5.0 m" + sp(6) + "2.10 KΩ" + sp(7) + "0.98 KΩ");
        QCOMPARE(lines[4], "4" + sp(2 + 6) + " " + sp(8 + 9 + 8 + 7)); // a lone space is a filled R
        QCOMPARE(textFileBytes({lines[2]}), "2" + QByteArray(8, ' ') + "1.23 K\xA6\xB8" + QByteArray(25, ' ')
                                                + "2.10 K\xA6\xB8" + QByteArray(7, ' ') + "OL K\xA6\xB8\r\n");
    }

    void readingLinesByMode()
    {
        QCOMPARE(readingSaveLines(readingOf(1)), QStringList{sp(9) + "    V:    12.5 V"});
        QCOMPARE(readingSaveLines(readingOf(2)),
                 (QStringList{sp(9) + "    R       Rc       Rp   ", sp(11) + "1.23 KΩ   2.10 KΩ   OL KΩ"}));
        QCOMPARE(readingSaveLines(readingOf(3)), (QStringList{sp(9) + "    ρ       ρ length       Rc      Rp    ",
                                                              sp(11) + "456 Ωm     5.0 m       2.10 KΩ  OL KΩ"}));
        QVERIFY(textFileBytes(readingSaveLines(readingOf(7))).isEmpty());
        // Before any reading: the resistance layout with the panel's first captions.
        QCOMPARE(textFileBytes(readingSaveLines(Reading{})),
                 QByteArray("             R       Rc       Rp   \r\n"
                            "           0.00 \xA6\xB8   0.00 K\xA6\xB8   0.00 K\xA6\xB8\r\n"));
        // Printed: its own Rp heading and a last line of five spaces.
        QCOMPARE(readingPrintLines(readingOf(1)), (QStringList{sp(9) + "    V:    12.5 V", sp(5)}));
        QCOMPARE(readingPrintLines(readingOf(2)).first(), sp(9) + "    R       Rc        Rp   ");
        QCOMPARE(readingPrintLines(readingOf(3)).mid(0, 2), readingSaveLines(readingOf(3)));
        QCOMPARE(readingPrintLines(readingOf(9)), QStringList{sp(5)});
    }

    void gbkFallbackAgreesWithTheCodecForWhatTheFilesHold()
    {
        const QString sample = "NO. ρLenght 12.34KΩ 0.5 Ωm OL  m V";
        QStringEncoder gbk("GBK");
        if (gbk.isValid())
            QCOMPARE(encodeGbkFallback(sample), QByteArray(gbk.encode(sample)));
        QCOMPARE(encodeGbkFallback("a测b😀"), QByteArray("a?b?"));
    }

    void defaultExtensionOnlyForANameWithout()
    {
        QCOMPARE(withDefaultExt("/d.x/Quillmarsh", ".txt"), "/d.x/Quillmarsh.txt");
        QCOMPARE(withDefaultExt("/d/Quillmarsh.xls", ".txt"), "/d/Quillmarsh.xls");
        QCOMPARE(withDefaultExt("/d/name.", ".jpg"), "/d/name.jpg");
    }

    // Thousands of shared strings, blanks, text beyond Latin-1, strings longer than a
    // record (spread over CONTINUE records) and longer than a cell holds, in a file
    // big enough that its FAT needs more sectors than the header can list.
    void textsBlanksAndLongStringsArriveWhole()
    {
        const CellGrid grid{10001, 7, [&](int r, int c) {
                                if (r == 0)
                                    return kHeader[c];
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
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        // Under the Debian interpreter, the one python3-xlrd installs into; waits however long it takes.
        QProcess p;
        p.start(BM_DEBIAN_PYTHON, {"-c", kReadSheet, file.fileName()});
        QVERIFY(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 600000));
        QVERIFY2(p.error() == QProcess::UnknownError,
                 qPrintable(BM_DEBIAN_PYTHON " with xlrd failed (scripts/setup.sh installs python3-xlrd): "
                            + p.errorString() + '\n' + p.readAllStandardError()));
        QVERIFY2(p.exitCode() == 0,
                 qPrintable(BM_DEBIAN_PYTHON " with xlrd failed (scripts/setup.sh installs python3-xlrd): "
                            + p.errorString() + '\n' + p.readAllStandardError()));
        // The only sheet, "Sheet1"; every cell the grid's text (cut at kMaxChars), as text or blank, centred.
        const QJsonObject book = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(book.value("sheets").toInt(), 1);
        QCOMPARE(book.value("name").toString(), "Sheet1");
        const QJsonArray cells = book.value("cells").toArray();
        QCOMPARE(cells.size(), grid.rows);
        for (int r = 0; r < grid.rows; ++r) {
            QJsonArray want;
            for (int c = 0; c < grid.cols; ++c) {
                const QString text = grid.text(r, c).left(xls::kMaxChars);
                want.append(QJsonArray{text.isEmpty() ? kBlank : kText, text, kCentred});
            }
            QCOMPARE(cells[r].toArray(), want);
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

QTEST_GUILESS_MAIN(TestFileFormats)
#include "test_fileformats.moc"
