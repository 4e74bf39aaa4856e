// The fall-of-potential window over a records table: it follows the records and an
// edited distance, and its PDF and CSV exports hold the figures.
#include "fakedialog.h"
#include "files.h"
#include "measurements.h"
#include "pdftext.h"
#include "electrode/fopinput.h"
#include "electrode/ui/fopchart.h"
#include "electrode/ui/fopfigures.h"
#include "electrode/ui/fopsession.h"
#include "electrode/ui/fopwindow.h"
#include "records/recordtable.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineSeries>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace bm;
using namespace bm::electrode;

namespace {

// Readings 10 m apart towards a current probe at 100 m, in hundredths of an ohm;
// a voltage and an overloaded resistance between them.
constexpr quint16 kCurve[] = {210, 300, 340, 360, 370, 375, 380, 410, 500};

void appendCurve(RecordTable& table)
{
    int k = 1;
    for (quint16 r : kCurve) {
        table.appendRecord(k++, measured(Kind::Resistance, {r, 0x12}));
        if (k == 3)
            table.appendRecord(k++, measured(Kind::Voltage, {125, 0x01}));
    }
    table.appendRecord(k, measured(Kind::Resistance, {Quantity::kOverloadCount, 0x12}));
}

} // namespace

class TestFopWindow : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    std::unique_ptr<RecordTable> table_;
    std::unique_ptr<FakeDialog> dialog_;
    std::unique_ptr<FopWindow> window_;

    template <typename T>
    T* child(const char* name)
    {
        return window_->findChild<T*>(name);
    }
    QString figures() { return child<QLabel>("fopFigures")->text(); }

private slots:
    void init()
    {
        table_ = std::make_unique<RecordTable>();
        dialog_ = std::make_unique<FakeDialog>();
        window_ = std::make_unique<FopWindow>(*table_, dialog_.get());
        window_->setSaveFolder(tmp_.path());
        window_->show();
        appendCurve(*table_);
        QTRY_COMPARE(window_->session().rows().size(), std::size(kCurve));
        child<QPushButton>("fillDistances")->click(); // 10 m, step 10 m
    }

    void followsTheTableAndAnEditedDistance()
    {
        const FopAnalysis& a = window_->session().analysis();
        QCOMPARE(a.verdict, FopAnalysis::Verdict::Ok);
        QCOMPARE(a.pointsUsed, 9);
        QCOMPARE(window_->session().rows()[2].record, 4);
        QVERIFY(figures().contains(fopNumber(a.slopeR_ohm)));
        QCOMPARE(window_->chart().readingsSeries()->count(), 9);
        QCOMPARE(window_->chart().slopeSeries()->count(), 4);
        QVERIFY(child<QLabel>("fopVerdict")->text().contains(QStringLiteral("（斜率法）")));

        // The 70 m reading moved to 65 m: 0.618 C now lies between 60 and 65 m.
        QAbstractItemModel* list = child<QTableView>("fopPoints")->model();
        QVERIFY(list->setData(list->index(6, 1), "65"));
        QVERIFY(std::fabs(*window_->session().analysis().r618_ohm - (3.75 + 0.36 * 0.05)) < 1e-9);
        QVERIFY(figures().contains(fopNumber(window_->session().analysis().r618_ohm)));
        QVERIFY(!list->setData(list->index(6, 1), "abc"));
        QVERIFY(list->setData(list->index(6, 1), "100"));
        QCOMPARE(window_->session().analysis().pointsUsed, 8);
        QCOMPARE(list->index(6, 1).data(), "100.0"); // at C: shown, not used
        QVERIFY(list->setData(list->index(6, 1), ""));
        QCOMPARE(list->index(6, 1).data(), "");

        // A distance stays with its reading when the table is read again; a new C re-analyses.
        window_->session().refresh();
        QVERIFY(!window_->session().rows()[6].distance_m);
        QCOMPARE(*window_->session().rows()[7].distance_m, 80);
        window_->findChild<QDoubleSpinBox*>("currentDistance")->setValue(85);
        QCOMPARE(window_->session().analysis().pointsUsed, 7);
        // Another reading under record 1 (a new download) is another reading, without a distance.
        table_->fillRecord(1, measured(Kind::Resistance, {220, 0x12}));
        window_->session().refresh();
        QVERIFY(!window_->session().rows()[0].distance_m);
        QCOMPARE(window_->session().rows()[1].distance_m, 20.0);
    }

    // The chart marks 61.8 % of C and the slope method's distances as fractions of C.
    void chartAndVerdictFollowTheDistancesAndC()
    {
        QCOMPARE(window_->chart().trueLineSeries()->at(0).x(), 0.618);
        QScatterSeries* slope = window_->chart().slopeSeries();
        QCOMPARE(slope->at(1), QPointF(0.4, 3.6));
        QCOMPARE(slope->at(3).x(), *window_->session().analysis().slopePtRatio);

        // Readings 2 m apart from 1 m: they end at 17 m, short of 0.52 C.
        window_->findChild<QDoubleSpinBox*>("firstDistance")->setValue(1);
        window_->findChild<QDoubleSpinBox*>("distanceStep")->setValue(2);
        child<QPushButton>("fillDistances")->click();
        QCOMPARE(*window_->session().rows().back().distance_m, 17.0);
        const FopAnalysis& a = window_->session().analysis();
        QVERIFY(a.verdict == FopAnalysis::Verdict::ProbeTooClose || a.verdict == FopAnalysis::Verdict::NoPlateau);
        const QString verdict = child<QLabel>("fopVerdict")->text();
        QVERIFY2(verdict.contains(QStringLiteral("电流极")) || verdict.contains(QStringLiteral("无法检查平台")),
                 qPrintable(verdict));
        window_->findChild<QDoubleSpinBox*>("currentDistance")->setValue(2);
        QCOMPARE(window_->session().analysis().verdict, FopAnalysis::Verdict::TooFewPoints);
        QCOMPARE(window_->chart().readingsSeries()->count(), 1);
    }

    // A hidden window reads the table again only when shown; a failed or cancelled save writes nothing.
    void waitsWhileHiddenAndWritesWholeFilesOrNone()
    {
        window_->hide();
        table_->initgrid();
        QTest::qWait(3 * FopSession::kSettleMs);
        QCOMPARE(window_->session().rows().size(), std::size(kCurve));
        window_->show();
        QVERIFY(window_->session().rows().empty());
        QCOMPARE(window_->session().analysis().pointsUsed, 0);

        const QString missing = tmp_.filePath("no-such-folder/out.pdf");
        dialog_->saveReplies = {{DialogOutcome::kAccepted, missing, 0, true},
                                {DialogOutcome::kCancelled, {}},
                                {DialogOutcome::kFailed, {}}};
        window_->exportReport();
        window_->exportCsv();
        window_->exportCsv();
        QCOMPARE(dialog_->messages.size(), 2);
        QCOMPARE(dialog_->beeps, 2);
        QVERIFY(dialog_->messages[0].text.contains(QDir::toNativeSeparators(missing)));
        QVERIFY(QDir(tmp_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void exportsHoldTheFigures()
    {
        child<QLineEdit>("site")->setText("Harrow substation");
        child<QLineEdit>("operator")->setText("J. Okafor");
        child<QLineEdit>("instrument")->setText("Tester 4105");
        child<QPlainTextEdit>("notes")->setPlainText("Dry ground\nTower 14 footing");
        dialog_->saveReplies = {{DialogOutcome::kAccepted, tmp_.filePath("fop.pdf"), 0, true}};
        window_->exportReport();
        QVERIFY(dialog_->messages.isEmpty());
        const QString text = pdftotext({"-layout", "-enc", "UTF-8", tmp_.filePath("fop.pdf"), "-"});
        const FopAnalysis& a = window_->session().analysis();
        for (const QString& expected :
             {QStringLiteral("Harrow substation"), QStringLiteral("J. Okafor"), QStringLiteral("Tester 4105"),
              QStringLiteral("Tower 14 footing"), fopNumber(a.r618_ohm), fopNumber(a.slopeR_ohm),
              fopNumber(a.inverseR_ohm), QString::number(*a.slopeMu, 'f', 3), QStringLiteral("3.600")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in:\n" + text.left(3000)));

        dialog_->saveReplies = {{DialogOutcome::kAccepted, tmp_.filePath("fop.csv"), 0, true}};
        window_->exportCsv();
        const QByteArray csv = readAll(tmp_.filePath("fop.csv"));
        QVERIFY2(csv.startsWith("record,distance_m,resistance_ohm,figure,value\n1,10,2.1,current_distance_m,100\n"),
                 csv.constData());
        QVERIFY(csv.contains(",,,verdict,ok\n"));
        QVERIFY(csv.contains(",limit_ok,\n"));
        const FopInput back = parseFopInput(csv, 100);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QVERIFY2(back.points.size() == 9, qPrintable(back.error));
        QCOMPARE(analyseFallOfPotential(back.points, {100, 5, std::nullopt}).slopeR_ohm, a.slopeR_ohm);
    }
};

QTEST_MAIN(TestFopWindow)
#include "test_fopwindow.moc"
