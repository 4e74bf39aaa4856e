// The window side of the site history: the records table saved as visits, the
// point's visits plotted against its limit, and a site exported and imported
// through the window's own save path.
#include "fakedialog.h"
#include "files.h"
#include "measurements.h"

#include "history/sitepackage.h"
#include "history/ui/historycommands.h"
#include "history/ui/historysettings.h"
#include "history/ui/historywindow.h"
#include "history/ui/savevisitdialog.h"
#include "records/recordtable.h"

#include <QChart>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineSeries>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

using namespace bm;
using namespace bm::history;

class TestHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        HistorySettings::setDatabaseUrl(dir_.filePath("h.sqlite"));
    }

    void savedTablesArePlottedAgainstTheLimit()
    {
        FakeDialog dialog;
        HistoryCommands commands(nullptr, table_, &dialog);
        commands.saveTable();
        QCOMPARE(dialog.messages.last().icon, QMessageBox::Warning);
        QVERIFY(dialog.messages.last().text.contains("没有"));
        commands.setDialogRunner([](SaveVisitDialog& d) {
            d.fill("北 yard", "E1", "0.5", "Ann");
            return true;
        });
        for (quint16 ohms : {45, 55}) { // 0.45 Ω then 0.55 Ω against a 0.5 Ω limit
            table_.initgrid();
            table_.appendRecord(1, measured(Kind::Resistance, {ohms, 0x12}, {123, 0x22}, {456, 0x22}));
            table_.appendRecord(3, measured(Kind::Resistance, {99, 0x12}));
            commands.saveTable();
            QCOMPARE(dialog.messages.last().icon, QMessageBox::Information);
            QTest::qWait(5); // two visits, two times
        }
        commands.showWindow();
        HistoryWindow* window = commands.window();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->sitesList()->currentItem()->text(), "北 yard");
        QTableWidget* visits = window->visitsTable();
        QCOMPARE(visits->rowCount(), 2);
        QCOMPARE(visits->item(0, 4)->text(), "合格");
        QCOMPARE(visits->item(1, 4)->text(), "不合格");
        const auto series = window->chart()->series();
        QCOMPARE(series.size(), 2);
        const QList<QPointF> key = static_cast<QLineSeries*>(series[0])->points();
        const QList<QPointF> limit = static_cast<QLineSeries*>(series[1])->points();
        QCOMPARE(key.size(), 2);
        QCOMPARE(key[0].y(), 0.45);
        QCOMPARE(key[1].y(), 0.55);
        QCOMPARE(limit.size(), 2);
        QCOMPARE(limit[1].y(), 0.5);
        QVERIFY(limit[0].x() < key[0].x());
        QVERIFY(limit[1].x() > key[1].x());
        window->selectVisit(1);
        QCOMPARE(window->readingsTable()->rowCount(), 2);
        QCOMPARE(window->readingsTable()->item(1, 0)->text(), "3");
    }

    // A known point shows its kind and limit and keeps its kind; a new one may take any.
    void theSaveDialogOffersKnownPoints()
    {
        const TestPoint soil{newId(), {}, "W1", PointKind::Soil, 25.0};
        SaveVisitDialog dialog(
            {SiteSummary{Site{newId(), "Yard", {}, {}, {}, {}}, 1, 1, {}}},
            [&](const QString& site) { return site == "Yard" ? QList<TestPoint>{soil} : QList<TestPoint>{}; });
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const auto* kind = dialog.findChildren<QComboBox*>().at(2);
        QVERIFY(ok->isEnabled());
        QVERIFY(!kind->isEnabled());
        QCOMPARE(dialog.choice().point.kind, PointKind::Soil);
        QCOMPARE(dialog.choice().point.limitOhm, std::optional(25.0));
        dialog.fill("Yard", "", "", "");
        QVERIFY(!ok->isEnabled());
        dialog.fill("New site", "E9", "", "Bo");
        const VisitChoice c = dialog.choice();
        QVERIFY(ok->isEnabled());
        QVERIFY(kind->isEnabled());
        QCOMPARE(c.point.pointName, "E9");
        QVERIFY(!c.point.limitOhm);
        QCOMPARE(c.conditions.operatorName, "Bo");
    }

    void aSiteTravelsAsAPackageAndArrivesOnce()
    {
        FakeDialog dialog;
        HistoryWindow window(&dialog);
        window.reload();
        window.selectSite("北 yard");
        dialog.saveReplies.append({DialogOutcome::kAccepted, dir_.filePath("yard")});
        window.exportSite();
        QVERIFY(dialog.messages.isEmpty());
        QVERIFY(dialog.saves.last().filter.contains("*.json"));
        QCOMPARE(readSitePackage(readAll(dir_.filePath("yard.json"))).record->visits.size(), 2);

        HistorySettings::setDatabaseUrl(dir_.filePath("other.sqlite"));
        window.reload();
        QCOMPARE(window.sitesList()->count(), 0);
        for (const char* expected :
             {"新增 1 个测试点、2 次测试；0 次测试已存在。", "新增 0 个测试点、0 次测试；2 次测试已存在。"}) {
            window.importPackage(dir_.filePath("yard.json"));
            QCOMPARE(dialog.messages.last().text, QString::fromUtf8(expected));
        }
        QCOMPARE(window.sitesList()->count(), 1);
        QCOMPARE(window.visitsTable()->rowCount(), 2);
        writeAll(dir_.filePath("bad.json"), "{\"format\": \"brackenmoor-site-history\", \"version\": 1}");
        window.importPackage(dir_.filePath("bad.json"));
        QCOMPARE(dialog.messages.last().icon, QMessageBox::Warning);
        QVERIFY(dialog.messages.last().text.contains("site"));
    }

private:
    QTemporaryDir dir_;
    RecordTable table_;
};

QTEST_MAIN(TestHistoryWindow)
#include "test_historywindow.moc"
