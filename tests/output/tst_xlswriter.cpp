// The .xls writer, read back by an independent reader (xlrd).
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

} // namespace

class TestXlsWriter : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QByteArray python(const char* script, const QString& path)
    {
        QProcess p;
        p.start(BM_DEBIAN_PYTHON, {"-c", script, path});
        if (!p.waitForFinished(120000) || p.exitCode() != 0) {
            qWarning() << p.readAllStandardError();
            return {};
        }
        return p.readAllStandardOutput();
    }

    // The sheet's cells as [type, value, horizontal alignment], row by row.
    QJsonArray readBack(const CellGrid& grid)
    {
        const QString path = dir_.filePath("book.xls");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(xls::workbook(grid));
        f.close();
        const QJsonObject book = QJsonDocument::fromJson(python(kReadSheet, path)).object();
        if (book.value("sheets").toInt() != 1 || book.value("name").toString() != "Sheet1")
            return {};
        return book.value("cells").toArray();
    }

private slots:
    void initTestCase()
    {
        QProcess probe;
        probe.start(BM_DEBIAN_PYTHON, {"-c", "import xlrd"});
        if (!probe.waitForFinished() || probe.exitCode() != 0)
            QSKIP("python3-xlrd is not installed");
    }

    void textsPositionsAndCentringSurvive()
    {
        const QList<QStringList> rows{{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"},
                                      {"1", "12.5 V", "", "", "", "", ""},
                                      {"2", "", "1.23 KΩ", "", "", "2.10 KΩ", "OL KΩ"},
                                      {"3", "测量", "", "456 Ωm", "5.0 m", "", "café"}};
        const QJsonArray cells = readBack({4, 7, [&](int r, int c) { return rows[r][c]; }});
        QCOMPARE(cells.size(), 4);
        for (int r = 0; r < 4; ++r) {
            const QJsonArray row = cells[r].toArray();
            QCOMPARE(row.size(), 7);
            for (int c = 0; c < 7; ++c) {
                const QJsonArray cell = row[c].toArray();
                QCOMPARE(cell[0].toInt(), rows[r][c].isEmpty() ? kBlank : kText);
                QCOMPARE(cell[1].toString(), rows[r][c]);
                QCOMPARE(cell[2].toInt(), kCentred);
            }
        }
    }

    void tenThousandAndOneRowsAllArrive()
    {
        const CellGrid grid{10001, 7, [](int r, int c) {
                                if (r == 0)
                                    return QStringLiteral("H%1").arg(c);
                                return c == 0 ? QString::number(r) : QStringLiteral("%1.%2 KΩ").arg(r % 97).arg(c);
                            }};
        const QJsonArray cells = readBack(grid);
        QCOMPARE(cells.size(), 10001);
        for (const int r : {0, 1, 4096, 9999, 10000}) {
            for (int c = 0; c < 7; ++c) {
                const QJsonArray cell = cells[r].toArray()[c].toArray();
                QCOMPARE(cell[1].toString(), grid.text(r, c));
                QCOMPARE(cell[2].toInt(), kCentred);
            }
        }
    }

    // Strings longer than one record, wide and narrow, split across CONTINUE records.
    void longStringsSpanContinueRecords()
    {
        const QString wide = QString(5000, QChar(0x6D4B)) + "end";
        const QString narrow = QString(9000, 'x') + "end";
        QStringList texts;
        for (int i = 0; i < 400; ++i)
            texts << QStringLiteral("value %1 Ω").arg(i);
        texts.insert(100, wide);
        texts.insert(250, narrow);
        const QJsonArray cells = readBack({static_cast<int>(texts.size()), 1, [&](int r, int) { return texts[r]; }});
        QCOMPARE(cells.size(), texts.size());
        for (int r = 0; r < texts.size(); ++r)
            QCOMPARE(cells[r].toArray()[0].toArray()[1].toString(), texts[r]);
    }

    // Above about 7 MB the FAT needs more sectors than the header can list.
    void largeStreamsUseDifatSectors()
    {
        QByteArray stream(9 * 1024 * 1024 + 123, '\0');
        for (qsizetype i = 0; i < stream.size(); ++i)
            stream[i] = static_cast<char>((i * 7919) >> 3);
        const QString path = dir_.filePath("big.cfb");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(cfb::compoundFile("Workbook", stream));
        f.close();
        const QByteArray expected = QByteArray::number(stream.size()) + ' '
            + QCryptographicHash::hash(stream, QCryptographicHash::Sha1).toHex() + '\n';
        QCOMPARE(python(kReadStream, path), expected);
    }
};

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "tst_xlswriter.moc"
