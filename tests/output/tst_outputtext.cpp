// The text that saves and printouts are made of: table and reading lines, GBK bytes,
// the dialog's filters and names.
#include "records/ansitext.h"
#include "records/outputlines.h"
#include "records/savetargets.h"

#include <QStringEncoder>
#include <QTest>

using namespace bm;

namespace {

using Rows = QList<QStringList>;

const QStringList kHeader{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"};

CellGrid gridOf(const Rows& rows)
{
    return CellGrid{static_cast<int>(rows.size()), 7, [rows](int r, int c) { return rows[r].value(c); }};
}

QString sp(int n) { return QString(n, ' '); }

Reading readingOf(int mode)
{
    Reading r;
    r.testmode = mode;
    r.v = "12.5 V";
    r.r = "1.23 KΩ";
    r.p = "456 Ωm";
    r.p_length = "5.0 m";
    r.rc = "2.10 KΩ";
    r.rp = "OL KΩ";
    return r;
}

} // namespace

class TestOutputText : public QObject {
    Q_OBJECT
private slots:
    void justSetUpTableGivesHeaderAndABlankLineOf34Spaces()
    {
        const QStringList lines = tableLines(gridOf({kHeader, QStringList(7)}), 0);
        const QByteArray expected = "NO.  V      R      \xA6\xD1       \xA6\xD1Lenght      Rc            Rp\r\n"
            + QByteArray(34, ' ') + "\r\n";
        QCOMPARE(textFileBytes(lines), expected);
    }

    void filledRTakesWideRunsEmptyRNarrowOnes()
    {
        const Rows rows{kHeader,
                        {"1", "12.5 V", "", "", "", "", ""},
                        {"2", "", "1.23 KΩ", "", "", "2.10 KΩ", "OL KΩ"},
                        {"3", "", "", "456 Ωm", "5.0 m", "2.10 KΩ", "0.98 KΩ"},
                        {"4", "", " ", "", "", "", ""}};
        const QStringList lines = tableLines(gridOf(rows), 4);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], "1" + sp(2) + "12.5 V" + sp(6 + 6 + 7 + 6 + 7));
        QCOMPARE(lines[2], "2" + sp(2 + 6) + "1.23 KΩ" + sp(8 + 9 + 8) + "2.10 KΩ" + sp(7) + "OL KΩ");
        QCOMPARE(lines[3], "3" + sp(2 + 6 + 6) + "456 Ωm" + sp(7) + "5.0 m" + sp(6) + "2.10 KΩ" + sp(7) + "0.98 KΩ");
        // A lone space in R is a filled cell.
        QCOMPARE(lines[4], "4" + sp(2 + 6) + " " + sp(8 + 9 + 8 + 7));
        QCOMPARE(textFileBytes({lines[2]}), "2" + sp(8).toLatin1() + "1.23 K\xA6\xB8" + sp(25).toLatin1()
                                                + "2.10 K\xA6\xB8" + sp(7).toLatin1() + "OL K\xA6\xB8\r\n");
    }

    void rowCountFollowsRecordcountButNotPastTheTable()
    {
        Rows rows{kHeader};
        for (int i = 1; i <= 5; ++i)
            rows.append({QString::number(i), "1.0 V", "", "", "", "", ""});
        QCOMPARE(tableLines(gridOf(rows), 3).size(), 4);
        QCOMPARE(tableLines(gridOf(rows), 0).size(), 2);
        QCOMPARE(tableLines(gridOf(rows), -7).size(), 2);
        // Cleared table, count of an earlier download: header and row 1 only.
        const QStringList cleared = tableLines(gridOf({kHeader, QStringList(7)}), 120);
        QCOMPARE(cleared.size(), 2);
        QCOMPARE(cleared[1], sp(34));
    }

    void readingSaveLinesByMode()
    {
        QCOMPARE(readingSaveLines(readingOf(1)), QStringList{sp(9) + "    V:    12.5 V"});
        QCOMPARE(readingSaveLines(readingOf(2)),
                 (QStringList{sp(9) + "    R       Rc       Rp   ", sp(11) + "1.23 KΩ   2.10 KΩ   OL KΩ"}));
        QCOMPARE(readingSaveLines(readingOf(3)),
                 (QStringList{sp(9) + "    ρ       ρ length       Rc      Rp    ",
                              sp(11) + "456 Ωm     5.0 m       2.10 KΩ  OL KΩ"}));
        QVERIFY(readingSaveLines(readingOf(0)).isEmpty());
        QVERIFY(textFileBytes(readingSaveLines(readingOf(7))).isEmpty());
    }

    void readingBeforeAnyReplyIsTheResistanceLayoutWithInitialCaptions()
    {
        QCOMPARE(textFileBytes(readingSaveLines(Reading{})),
                 QByteArray("         " "    R       Rc       Rp   \r\n"
                            "           0.00 \xA6\xB8   0.00 K\xA6\xB8   0.00 K\xA6\xB8\r\n"));
    }

    void printedReadingHasItsOwnRpHeadingAndAFiveSpaceLastLine()
    {
        QCOMPARE(readingPrintLines(readingOf(1)), (QStringList{sp(9) + "    V:    12.5 V", sp(5)}));
        const QStringList two = readingPrintLines(readingOf(2));
        QCOMPARE(two[0], sp(9) + "    R       Rc        Rp   ");
        QCOMPARE(two.size(), 3);
        QCOMPARE(readingPrintLines(readingOf(3)).first(), readingSaveLines(readingOf(3)).first());
        QCOMPARE(readingPrintLines(readingOf(9)), QStringList{sp(5)});
    }

    void gbkFallbackAgreesWithTheCodecForWhatTheFilesHold()
    {
        const QString sample = "NO. ρLenght 12.34KΩ 0.5 Ωm OL  m V";
        QStringEncoder gbk("GBK");
        if (gbk.isValid())
            QCOMPARE(encodeGbkFallback(sample), QByteArray(gbk.encode(sample)));
        QCOMPARE(encodeGbkFallback("Ωρ"), QByteArray("\xA6\xB8\xA6\xD1"));
        QCOMPARE(encodeGbkFallback("a测b😀"), QByteArray("a?b?"));
        QCOMPARE(encodeAnsi("测"), QByteArray(gbk.isValid() ? "\xB2\xE2" : "?"));
    }

    void filtersBecomeQtNameFiltersInOrder()
    {
        QCOMPARE(tableSaveChoice().filter, "txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|");
        QCOMPARE(readingSaveChoice().filter, "jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|");
        QCOMPARE(qtNameFilters(tableSaveChoice().filter), (QStringList{"txt格式 (*.txt)", "excel格式 (*.xls)"}));
        QCOMPARE(qtNameFilters("Pictures|*.jpg;*.jpeg|All|*.*"), (QStringList{"Pictures (*.jpg *.jpeg)", "All (*.*)"}));
        QCOMPARE(defaultExtFor(tableSaveChoice(), 0), ".txt");
        QCOMPARE(defaultExtFor(tableSaveChoice(), 2), ".xls");
        QCOMPARE(defaultExtFor(readingSaveChoice(), 1), ".jpg");
        QCOMPARE(defaultExtFor(readingSaveChoice(), 2), ".txt");
    }

    void defaultExtOnlyForNamesWithoutOne()
    {
        QCOMPARE(withDefaultExt("/d/Quillmarsh", ".txt"), "/d/Quillmarsh.txt");
        QCOMPARE(withDefaultExt("/d/Quillmarsh.xls", ".txt"), "/d/Quillmarsh.xls");
        QCOMPARE(withDefaultExt("/d.x/name", ".jpg"), "/d.x/name.jpg");
        QCOMPARE(withDefaultExt("/d/name.", ".jpg"), "/d/name.jpg");
    }
};

QTEST_GUILESS_MAIN(TestOutputText)
#include "tst_outputtext.moc"
