#include "app/downloadprogress.h"
#include "app/mainwindow.h"
#include "app/menuwindows.h"
#include "electrode/ui/fopsession.h"
#include "electrode/ui/fopwindow.h"
#include "link/link.h"
#include "measurements.h"
#include "model/measurement.h"
#include "records/recordtable.h"
#include "soil/ui/soilsession.h"
#include "soil/ui/soilwindow.h"
#include "trend/trendwindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>

using bm::MainWindow;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    int endCalls = 0;

    template <typename T = QWidget>
    T* child(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) { return child<QAction>(name); }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    bm::Measurement volts = measured(bm::Kind::Voltage, {55, 0x51}); // its text as the link decodes it: init()

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>();
        window->setLateWindows(bm::linkedLateWindows());
        volts.main = QStringLiteral("5.5V");
        endCalls = 0;
        window->setEndProgram([this] { ++endCalls; });
        window->show();
    }
    void cleanup() { window.reset(); }

    void startsWithItsCaptionsAndNoControlOverlappingThenTriesThePorts()
    {
        QList<QToolButton*> buttons = window->findChildren<QToolButton*>(QRegularExpression("^Command[1-6]$"));
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        auto* tabs = child<QTabWidget>("TabStrip1");
        QString captions = label("Label1") + label("Label2") + tabs->tabText(0) + tabs->tabText(1);
        QList<QWidget*> controls{child("Label1"), child("Label2"), tabs};
        for (auto* b : buttons) {
            captions += b->text();
            controls << b;
            QVERIFY(!b->icon().isNull());
            QVERIFY(b->isEnabled());
        }
        QCOMPARE(captions, QStringLiteral("串口状态通信失败实时监控历史查询读取保存清空打印帮助关闭"));
        const QRect area = window->centralWidget()->rect();
        for (QWidget* a : controls) {
            QVERIFY2(area.contains(a->geometry()), qPrintable(a->objectName()));
            for (QWidget* b : controls)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + b->objectName()));
        }
        // The panel and the table lie over the tab strip's page area.
        QVERIFY(tabs->geometry().contains(child("Frame1")->geometry()));
        QVERIFY(tabs->geometry().contains(child("grid")->geometry()));
        QVERIFY(child("Frame1")->isVisible());
        QVERIFY(!child("grid")->isVisible());
        // The clock fills its panels at once, not a second later.
        QVERIFY(!label("StatusBar1_Panel1").isEmpty());
        QVERIFY(!label("StatusBar1_Panel3").isEmpty());
        QCOMPARE(window->table().Rows(), 2);
        // The first port is tried one interval after the start, not at the start.
        QTRY_VERIFY_WITH_TIMEOUT(label("Label1").startsWith(QStringLiteral("COM1")), 2000);
    }

    void labelsSayWhatTheLinkReports()
    {
        using bm::OpenOutcome;
        bm::Link& link = window->link();
        const struct {
            OpenOutcome outcome;
            const char* reason;
            const char* text;
            const char* tip;
        } cases[] = {
            {OpenOutcome::Opened, "", "COM3已打开", "/dev/ttyS2"},
            {OpenOutcome::Busy, "Permission denied", "COM3被占用", "/dev/ttyS2: Permission denied"},
            {OpenOutcome::Missing, "No such file", "COM3无效", "/dev/ttyS2: No such file"},
            {OpenOutcome::Failed, "I/O error", "COM3打开失败", "/dev/ttyS2: I/O error"},
        };
        for (const auto& c : cases) {
            emit link.portTried({3, c.outcome, QStringLiteral("/dev/ttyS2"), QString::fromUtf8(c.reason), false});
            QCOMPARE(label("Label1") + child<QLabel>("Label1")->toolTip(), QString::fromUtf8(c.text) + c.tip);
        }
        emit link.portTried(
            {7, OpenOutcome::Missing, QString(), QStringLiteral("No device is assigned to COM7"), false});
        QCOMPARE(child<QLabel>("Label1")->toolTip(), QStringLiteral("No device is assigned to COM7"));
        emit link.linkChanged(true);
        QCOMPARE(label("Label2"), QStringLiteral("通信成功"));
        emit link.linkChanged(false);
        QCOMPARE(label("Label2"), QStringLiteral("通信失败"));
        emit link.recordReceived(2, volts);
        QCOMPARE(window->table().TextMatrix(2, 1), QStringLiteral("5.5V"));
    }

    void tabSelectionSwitchesPagesAndGivesTheButtonsBack()
    {
        auto* tabs = child<QTabWidget>("TabStrip1");
        auto* read = child<QToolButton>("Command1");
        auto* save = child<QToolButton>("Command2");
        child<QTimer>("comunication")->stop();
        read->setEnabled(false);
        save->setEnabled(false);
        tabs->setCurrentIndex(1);
        QVERIFY(!window->link().realtime());
        QVERIFY(child("grid")->isVisible());
        QVERIFY(!child("Frame1")->isVisible());
        QVERIFY(read->isEnabled());
        QVERIFY(save->isEnabled());
        QVERIFY(child<QTimer>("comunication")->isActive());
        read->setEnabled(false);
        tabs->setCurrentIndex(0);
        QVERIFY(window->link().realtime());
        QVERIFY(child("Frame1")->isVisible());
        QVERIFY(!child("grid")->isVisible());
        QVERIFY(read->isEnabled());
    }

    void downloadBarFollowsTheDownloadOnTheRecordsTabOnlyAndClearHidesTheMissingCount()
    {
        bm::Link& link = window->link();
        auto* tabs = child<QTabWidget>("TabStrip1");
        auto* bar = child<QProgressBar>("downloadProgress");
        tabs->setCurrentIndex(1);
        QVERIFY(!bar->isVisible());
        // Below the table, inside the tab strip, over nothing of the records tab.
        QVERIFY(tabs->geometry().contains(bar->geometry()));
        QVERIFY(!bar->geometry().intersects(child("grid")->geometry()));

        QSignalSpy redraws(bar, &QProgressBar::valueChanged);
        emit link.downloadProgress(1, 600);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->text(), QStringLiteral("1 / 600  剩余 1:00"));
        for (int k = 2; k <= 300; ++k)
            emit link.downloadProgress(k, 600);
        QCOMPARE(redraws.size(), 1); // at most ten redraws a second
        QTRY_COMPARE(bar->value(), 300);
        QVERIFY(bar->text().startsWith(QStringLiteral("300 / 600  剩余 ")));

        tabs->setCurrentIndex(0); // a tab change hides it without stopping it
        QVERIFY(!bar->isVisible());
        QVERIFY(window->downloadProgress().running());
        tabs->setCurrentIndex(1);
        QVERIFY(bar->isVisible());
        emit link.downloadEnded(false); // link lost
        QVERIFY(!bar->isVisible());
        QVERIFY(!window->downloadProgress().running());

        // Records that never replied are counted where the bar stood, until the next download or clear.
        auto* missing = child<QLabel>("missingRecords");
        window->downloadProgress().setMissing(3);
        QVERIFY(missing->isVisible());
        QCOMPARE(missing->geometry(), bar->geometry());
        QCOMPARE(missing->text(), QStringLiteral("缺少 3 条记录"));
        emit link.downloadProgress(1, 5);
        QVERIFY(!missing->isVisible());
        QVERIFY(bar->isVisible());
        emit link.downloadEnded(true);
        window->downloadProgress().setMissing(2);
        // Clear from the menu resets the table even with the buttons disabled.
        window->table().setRows(4);
        window->table().setTextMatrix(1, 2, QStringLiteral("1.00KΩ"));
        child<QToolButton>("Command3")->setEnabled(false);
        action("mnuclear")->trigger();
        QVERIFY(!missing->isVisible());
        QCOMPARE(window->table().Rows(), 2);
        QVERIFY(window->table().TextMatrix(1, 2).isEmpty());

        QCOMPARE(bm::DownloadProgress::estimateLeftMs(11, 20, 2000), qint64(1800)); // 200 ms a request so far
        QCOMPARE(bm::DownloadProgress::barText(3, 7, 61001, true), QStringLiteral("补读 3 / 7  剩余 1:02"));
    }

    void trendEntryOpensOneNonModalWindowFedByLiveReadings()
    {
        action("mnutrend")->trigger();
        auto* trend = window->findChild<bm::TrendWindow*>();
        QVERIFY(trend);
        QVERIFY(trend->isVisible());
        QVERIFY(!trend->isModal());
        emit window->link().measurementReceived(volts);
        QCOMPARE(trend->store().size(), size_t(1));
        action("mnutrend")->trigger();
        QCOMPARE(window->findChildren<bm::TrendWindow*>(), QList<bm::TrendWindow*>{trend});
        trend->close(); // gone; the next one starts afresh
        QTRY_VERIFY(!window->findChild<bm::TrendWindow*>());
    }

    void menusHoldTheirEntriesWithoutShortcuts()
    {
        QStringList entries; // title: name=text ..., any shortcut shows after the text
        for (QAction* m : window->menuBar()->actions()) {
            entries << m->text() + ":";
            for (QAction* a : m->menu()->actions())
                entries << a->objectName() + "=" + a->text() + a->shortcut().toString();
        }
        QCOMPARE(entries, (QStringList{"文件:", "mnuread=读取", "mnusave=保存", "mnuclose=关闭", "mnucsv=导出CSV",
                                       "mnuhistorysave=保存到现场记录…", "操作:", "mnuclear=清空", "mnuprint=打印",
                                       "mnusoil=土壤分析", "mnutrend=实时趋势", "mnufop=接地电阻分析",
                                       "mnuhistory=现场记录", "帮助:", "aboutsoftware=关于软件"}));
    }

    void soilAnalysisOpensOneWindowOverTheTable()
    {
        action("mnusoil")->trigger();
        auto* soil = window->findChild<bm::soil::SoilWindow*>();
        QVERIFY(soil);
        QVERIFY(soil->isVisible());
        QVERIFY(soil->isWindow());
        soil->close();
        action("mnusoil")->trigger();
        QCOMPARE(window->findChildren<bm::soil::SoilWindow*>().size(), 1);
        QVERIFY(soil->isVisible());
        // 12.5 Ωm at 2.00 m, into the window's own table
        window->table().appendRecord(1, measured(bm::Kind::Resistivity, {125, 0x31}, {}, {}, {200, 0x72}));
        QTRY_COMPARE(soil->session().points().size(), size_t(1));

        action("mnufop")->trigger();
        action("mnufop")->trigger();
        const auto fops = window->findChildren<bm::electrode::FopWindow*>();
        QCOMPARE(fops.size(), 1);
        QVERIFY(fops[0]->isVisible());
        QVERIFY(fops[0]->isWindow());
        window->table().appendRecord(2, measured(bm::Kind::Resistance, {500, 0x12}));
        QTRY_COMPARE(fops[0]->session().rows().size(), size_t(1));
    }

    void helpBoxFromButtonAndMenuIsTheSame()
    {
        for (const bool fromMenu : {false, true}) {
            fromMenu ? action("aboutsoftware")->trigger() : child<QToolButton>("Command6")->click();
            auto* box = child<QMessageBox>("helpBox");
            QVERIFY(box);
            QVERIFY(box->isModal());
            QCOMPARE(box->icon(), QMessageBox::Information);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->windowTitle() + box->text(),
                     QStringLiteral("欢迎使用我们公司产品Brackenmoor(CN)\n   如需帮助请联系我们!\n"));
            box->accept();
            QTRY_VERIFY(!child<QMessageBox>("helpBox"));
        }
    }

    void closeEndsAtOnceAndStopsEveryTimer()
    {
        action("mnuclose")->trigger();
        QCOMPARE(endCalls, 1);
        for (QTimer* t : window->findChildren<QTimer*>())
            QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
