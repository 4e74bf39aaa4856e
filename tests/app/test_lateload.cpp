// The windows the menus open come from a module loaded on first use: the main
// window starts without Qt Charts and Qt SQL, and a missing or foreign module
// is told to the user, not a crash.
#include "app/latewindows.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "measurements.h"
#include "records/recordtable.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>

using namespace bm;

namespace {

// The file names this process has mapped, as the kernel lists them.
QString mappedFiles()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(maps.readAll());
}

QWidget* topLevel(const char* className)
{
    // By name: the module's classes are its own copies, so a cast would not know them.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qstrcmp(w->metaObject()->className(), className) == 0)
            return w;
    }
    return nullptr;
}

} // namespace

class TestLateLoad : public QObject {
    Q_OBJECT

    void trigger(MainWindow& window, const char* entry) { window.findChild<QAction*>(entry)->trigger(); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); } // the history window opens its database

    // Runs first: nothing of the module may be mapped yet.
    void chartsAndSqlArriveWithTheFirstLateWindow()
    {
        MainWindow window;
        window.setEndProgram([] {});
        window.setLateWindows(lateWindowsModule({QStringLiteral(BRACKENMOOR_LATE_DIR)}));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString atStart = mappedFiles();
        QVERIFY(atStart.contains(QLatin1String("libQt6Widgets")));
        for (const char* late : {"libQt6Charts", "libQt6Sql", "libQt6OpenGL", "brackenmoor_late"})
            QVERIFY2(!atStart.contains(QLatin1String(late)), late);

        trigger(window, "mnusoil");
        trigger(window, "mnutrend");
        trigger(window, "mnufop");
        trigger(window, "mnuhistory");
        for (const char* name :
             {"bm::soil::SoilWindow", "bm::TrendWindow", "bm::electrode::FopWindow", "bm::history::HistoryWindow"})
            QVERIFY2(topLevel(name), name);
        QVERIFY(!window.findChild<QMessageBox*>());
        // They follow the program's own table and link.
        const auto* points = topLevel("bm::soil::SoilWindow")->findChild<QTableView*>(QStringLiteral("soilPoints"));
        const int before = points->model()->rowCount();
        window.table().appendRecord(1, measured(Kind::Resistivity, {125, 0x31}, {}, {}, {200, 0x72}));
        QTRY_COMPARE(points->model()->rowCount(), before + 1);
        const auto* count = topLevel("bm::TrendWindow")->findChild<QLabel*>(QStringLiteral("trendStatus"));
        const QString was = count->text();
        emit window.link().measurementReceived(measured(Kind::Voltage, {55, 0x51}));
        QTRY_VERIFY(count->text() != was);
        const QString opened = mappedFiles();
        for (const char* late : {"libQt6Charts", "libQt6Sql", "brackenmoor_late"})
            QVERIFY2(opened.contains(QLatin1String(late)), late);
    }

    void aMissingModuleIsToldAndTriedAgain()
    {
        MainWindow window;
        window.setEndProgram([] {});
        int asked = 0;
        const LateWindowsMaker missing = lateWindowsModule({QStringLiteral("/nonexistent/brackenmoor")});
        window.setLateWindows([&](const LateWindowsContext& context) {
            ++asked;
            return missing(context);
        });
        trigger(window, "mnusoil");
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("lateFailureBox"));
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("无法打开窗口"));
        QVERIFY2(box->text().contains(QLatin1String("/nonexistent/brackenmoor")), qPrintable(box->text()));
        box->close();
        trigger(window, "mnuhistorysave");
        QCOMPARE(asked, 2);
    }

    void aModuleRefusesAnotherVersion()
    {
        QLibrary module(QStringLiteral(BRACKENMOOR_LATE_DIR "/") + QLatin1String(kLateWindowsModule));
        const auto entry = reinterpret_cast<LateWindowsEntry>(module.resolve(kLateWindowsEntry));
        QVERIFY2(entry, qPrintable(module.errorString()));
        MainWindow window;
        const LateWindowsContext context{window.table(), window.link(), window};
        QVERIFY(!entry("0.9.0", &context));
        QVERIFY(!entry(nullptr, &context));
        QVERIFY(!entry(BRACKENMOOR_VERSION, nullptr));
    }
};

QTEST_MAIN(TestLateLoad)
#include "test_lateload.moc"
