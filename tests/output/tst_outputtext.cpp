// The text that saves and printouts are made of: table and reading lines, GBK bytes, filters.
#include "records/ansitext.h"
#include "records/outputlines.h"
#include "records/savetargets.h"

#include <QStringEncoder>
#include <QTest>

#include <tuple>

using namespace bm;

namespace {

const QStringList kHeader{"NO.", "V", "R", "ρ", "ρLenght", "Rc", "Rp"};
const QByteArray kHeaderBytes = "NO.  V      R      \xA6\xD1       \xA6\xD1Lenght      Rc            Rp\r\n";

CellGrid gridOf(const QList<QStringList>& rows)
{
    return {static_cast<int>(rows.size()), 7, [rows](int r, int c) { return rows[r].value(c); }};
}

QString sp(int n) { return QString(n, ' '); }

Reading readingOf(int mode)
{
    Reading r;
    std::tie(r.testmode, r.v, r.r, r.p, r.p_length, r.rc, r.rp) =
        std::tuple(mode, "12.5 V", "1.23 KΩ", "456 Ωm", "5.0 m", "2.10 KΩ", "OL KΩ");
    return r;
}

} // namespace

class TestOutputText : public QObject {
    Q_OBJECT
private slots:
    void justSetUpTableGivesHeaderAndABlankLineOf34Spaces()
    {
        QCOMPARE(textFileBytes(tableLines(gridOf({kHeader, QStringList(7)}), 0)),
                 kHeaderBytes + QByteArray(34, ' ') + "\r\n");
    }

    void filledRTakesWideRunsEmptyRNarrowOnes()
    {
        const QStringList lines = tableLines(gridOf({kHeader,
                                                     {"1", "12.5 V", "", "", "", "", ""},
                                                     {"2", "", "1.23 KΩ", "", "", "2.10 KΩ", "OL KΩ"},
                                                     {"3", "", "", "456 Ωm", "5.0 m", "2.10 KΩ", "0.98 KΩ"},
                                                     {"4", "", " ", "", "", "", ""}}),
                                             4);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], "1" + sp(2) + "12.5 V" + sp(6 + 6 + 7 + 6 + 7));
        QCOMPARE(lines[2], "2" + sp(2 + 6) + "1.23 KΩ" + sp(8 + 9 + 8) + "2.10 KΩ" + sp(7) + "OL KΩ");
        QCOMPARE(lines[3], "3" + sp(2 + 6 + 6) + "456 Ωm" + sp(7) + "5.0 m" + sp(6) + "2.10 KΩ" + sp(7) + "0.98 KΩ");
        QCOMPARE(lines[4], "4" + sp(2 + 6) + " " + sp(8 + 9 + 8 + 7)); // a lone space is a filled R
        QCOMPARE(textFileBytes({lines[2]}), "2" + QByteArray(8, ' ') + "1.23 K\xA6\xB8" + QByteArray(25, ' ')
                                                + "2.10 K\xA6\xB8" + QByteArray(7, ' ') + "OL K\xA6\xB8\r\n");
    }

    void rowCountFollowsRecordcountButNotPastTheTable()
    {
        QList<QStringList> rows{kHeader};
        for (int i = 1; i <= 5; ++i)
            rows.append({QString::number(i), "1.0 V"});
        QCOMPARE(tableLines(gridOf(rows), 3).size(), 4);
        QCOMPARE(tableLines(gridOf(rows), -7).size(), 2);
        // Cleared table with the count of an earlier download: header and row 1 only.
        QCOMPARE(tableLines(gridOf({kHeader, QStringList(7)}), 120), (QStringList{tableLines(gridOf(rows), 0)[0], sp(34)}));
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
};

QTEST_GUILESS_MAIN(TestOutputText)
#include "tst_outputtext.moc"
