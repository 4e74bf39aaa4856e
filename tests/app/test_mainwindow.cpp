#include "app/mainwindow.h"
#include "link/link.h"
#include "records/recordtable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
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

    template <typename T> T* child(const char* name)
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }
    QTimer* timer(const char* name) { return child<QTimer>(name); }
    QAction* action(const char* name) { return child<QAction>(name); }
    QMessageBox* openHelpBox() { return window->findChild<QMessageBox*>(QStringLiteral("helpBox")); }

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>();
        endCalls = 0;
        window->setEndProgram([this] { ++endCalls; });
        window->show();
    }
    void cleanup() { window.reset(); }

    void layoutAndStateRightAfterStart()
    {
        QList<QToolButton*> buttons = window->findChildren<QToolButton*>(QRegularExpression("^Command[1-6]$"));
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        QStringList captions;
        for (auto* b : buttons) {
            captions << b->text();
            QCOMPARE(b->geometry().size(), QSize(89, 57));
            QVERIFY(!b->icon().isNull() && b->isEnabled());
        }
        QCOMPARE(captions, (QStringList{"读取", "保存", "清空", "打印", "帮助", "关闭"}));
        QCOMPARE(buttons.first()->pos(), QPoint(56, 16));
        QCOMPARE(buttons.last()->pos(), QPoint(576, 16));

        auto* l1 = child<QLabel>("Label1");
        QCOMPARE(l1->geometry(), QRect(680, 8, 113, 25));
        QCOMPARE(child<QLabel>("Label2")->geometry(), QRect(680, 48, 113, 25));
        QCOMPARE(l1->font().pointSize(), 12);
        QCOMPARE(l1->text() + child<QLabel>("Label2")->text(), QStringLiteral("串口状态通信失败"));
        auto* tabs = child<QTabWidget>("TabStrip1");
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1), QStringLiteral("实时监控历史查询"));
        QCOMPARE(tabs->geometry(), QRect(56, 104, 737, 521));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(child<QWidget>("Frame1")->geometry(), QRect(96, 136, 641, 473));
        QCOMPARE(child<QTableView>("grid")->geometry().topLeft(), QPoint(103, 163));
        QVERIFY(child<QWidget>("Frame1")->isVisible() && !child<QWidget>("grid")->isVisible());
        // The clock fills its panels at once, not a second later.
        QVERIFY(!child<QLabel>("StatusBar1_Panel1")->text().isEmpty());
        QVERIFY(!child<QLabel>("StatusBar1_Panel3")->text().isEmpty());
        QCOMPARE(child<QLabel>("StatusBar1_Panel2")->text(), QStringLiteral("Brackenmoor"));
        for (const char* name : {"TabStrip1", "Frame1", "grid", "StatusBar1"})
            QVERIFY2(!child<QWidget>(name)->accessibleName().isEmpty(), name);
        QCOMPARE(window->table().Rows(), 2);
    }

    void timersRunAtTheirIntervalsAfterStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("active");
        QTest::newRow("Findcom") << "Findcom" << 300 << true; // turned on by start-up
        QTest::newRow("COMtimout") << "COMtimout" << 1000 << true;
        QTest::newRow("comunication") << "comunication" << 1000 << true;
        QTest::newRow("Readdat") << "Readdat" << 100 << false;
        QTest::newRow("vrprecord") << "vrprecord" << 1000 << true;
        QTest::newRow("Movectrltimer") << "Movectrltimer" << 200 << true; // the first reveal has begun
        QTest::newRow("Movetimer") << "Movetimer" << 5 << false;
        QTest::newRow("Timer1") << "Timer1" << 1000 << true;
    }
    void timersRunAtTheirIntervalsAfterStart()
    {
        QFETCH(QString, name);
        QFETCH(int, interval);
        QFETCH(bool, active);
        QTimer* t = window->findChild<QTimer*>(name);
        QVERIFY2(t, qPrintable(name));
        QCOMPARE(t->interval(), interval);
        QCOMPARE(t->isActive(), active);
    }

    void firstPortIsTriedOneIntervalAfterStartNotAtStart()
    {
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("串口状态"));
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("Label1")->text().startsWith(QStringLiteral("COM1")), 2000);
    }

    void tabSelectionSwitchesPagesAndGivesTheButtonsBack()
    {
        auto* tabs = child<QTabWidget>("TabStrip1");
        auto* read = child<QToolButton>("Command1");
        auto* save = child<QToolButton>("Command2");
        timer("comunication")->stop();
        read->setEnabled(false);
        save->setEnabled(false);

        tabs->setCurrentIndex(1);
        QVERIFY(!window->link().realtime());
        QVERIFY(child<QWidget>("grid")->isVisible());
        QVERIFY(!child<QWidget>("Frame1")->isVisible());
        QVERIFY(read->isEnabled());
        QVERIFY(save->isEnabled());
        QVERIFY(timer("comunication")->isActive());

        read->setEnabled(false);
        tabs->setCurrentIndex(0);
        QVERIFY(window->link().realtime());
        QVERIFY(child<QWidget>("Frame1")->isVisible());
        QVERIFY(!child<QWidget>("grid")->isVisible());
        QVERIFY(read->isEnabled());
    }

    void menusHoldTheirEntriesWithoutShortcuts()
    {
        const QList<QAction*> menus = window->menuBar()->actions();
        QStringList titles;
        for (QAction* m : menus)
            titles << m->text();
        QCOMPARE(titles, (QStringList{"文件", "操作", "帮助"}));
        const auto entries = [&](int i) {
            QStringList names;
            for (QAction* a : menus[i]->menu()->actions()) {
                names << a->objectName() + "=" + a->text();
                if (!a->shortcut().isEmpty())
                    qWarning("shortcut on %s", qPrintable(a->objectName()));
            }
            return names;
        };
        QCOMPARE(entries(0), (QStringList{"mnuread=读取", "mnusave=保存", "mnuclose=关闭"}));
        QCOMPARE(entries(1), (QStringList{"mnuclear=清空", "mnuprint=打印"}));
        QCOMPARE(entries(2), (QStringList{"aboutsoftware=关于软件"}));
    }

    void clearFromTheMenuResetsTheTableEvenWithButtonsDisabled()
    {
        bm::RecordTable& table = window->table();
        table.setRows(4);
        table.setTextMatrix(3, 2, QStringLiteral("1.00KΩ"));
        child<QToolButton>("Command3")->setEnabled(false);
        action("mnuclear")->trigger();
        QCOMPARE(table.Rows(), 2);
        QCOMPARE(table.TextMatrix(1, 2), QString());
        QCOMPARE(table.TextMatrix(0, 6), QStringLiteral("Rp"));
    }

    void helpBoxFromButtonAndMenuIsTheSame()
    {
        for (int route = 0; route < 2; ++route) {
            if (route == 0)
                child<QToolButton>("Command6")->click();
            else
                action("aboutsoftware")->trigger();
            QMessageBox* box = openHelpBox();
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("欢迎使用我们公司产品"));
            QCOMPARE(box->text(), QStringLiteral("Brackenmoor(CN)\n   如需帮助请联系我们!\n"));
            QCOMPARE(box->icon(), QMessageBox::Information);
            QCOMPARE(box->buttons().size(), 1);
            QVERIFY(box->isModal());
            box->accept();
            QTRY_VERIFY(!openHelpBox());
        }
        QCOMPARE(MainWindow::kHelpText, QStringLiteral("Brackenmoor(CN)\r   如需帮助请联系我们!\r"));
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
