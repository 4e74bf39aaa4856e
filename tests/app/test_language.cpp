// The interface language: chosen from the user's preferences, and complete in
// English down to every caption, menu entry, tooltip and message.
#include "app/language.h"
#include "app/mainwindow.h"
#include "link/link.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>

using namespace bm;

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void englishOnlyWhenPreferredBeforeChinese()
    {
        const QList<QStringList> english{{"en_US.UTF-8"}, {"en"}, {"de", "en_GB"}};
        const QList<QStringList> chinese{{"zh_CN", "en"}, {"C.UTF-8"}, QStringList{}, {"eo"}};
        for (const QStringList& p : english + chinese)
            QVERIFY2((chooseLanguage(p) == UiLanguage::English) == english.contains(p), qPrintable(p.join(',')));
    }

    void languageVariableComesBeforeLang()
    {
        qputenv("LANG", "zh_CN.UTF-8");
        qputenv("LANGUAGE", "en:zh");
        QCOMPARE(chooseLanguage(preferredLanguages()), UiLanguage::English);
        qunsetenv("LANGUAGE");
        QCOMPARE(chooseLanguage(preferredLanguages()), UiLanguage::Chinese);
    }

    void everyWindowTextIsEnglish()
    {
        installTranslators(*QCoreApplication::instance(), UiLanguage::English);
        MainWindow window;
        window.setEndProgram([] {});
        // The module's windows take the program's translators.
        window.setLateWindows(bm::lateWindowsModule({QStringLiteral(BRACKENMOOR_LATE_DIR)}));
        emit window.link().portTried(
            {3, OpenOutcome::Failed, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("Permission denied"), true});
        emit window.link().linkChanged(true);
        window.showHelp();
        QVERIFY(window.findChild<QMessageBox*>());
        const auto* tabs = window.findChild<QTabWidget*>();
        QStringList texts{tabs->tabText(0), tabs->tabText(1)};
        for (QAction* a : window.findChildren<QAction*>())
            texts << a->text();
        // The windows the menus open and the help box speak the same language.
        window.findChild<QAction*>("mnusoil")->trigger();
        window.findChild<QAction*>("mnutrend")->trigger();
        window.findChild<QAction*>("mnufop")->trigger();
        QStandardPaths::setTestModeEnabled(true); // the history window opens its database
        window.findChild<QAction*>("mnuhistory")->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            texts << w->windowTitle();
            for (QLabel* l : w->findChildren<QLabel*>())
                texts << l->text() << l->toolTip();
            for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
                texts << b->text();
        }
        static const QRegularExpression cjk(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        for (const QString& t : texts)
            QVERIFY2(!t.contains(cjk), qPrintable(t));
        QVERIFY(texts.contains(QStringLiteral("Read")));
        // The longest status texts still fit their fixed labels.
        auto* label1 = window.findChild<QLabel*>("Label1");
        for (auto outcome : {OpenOutcome::Opened, OpenOutcome::Busy, OpenOutcome::Missing, OpenOutcome::Failed}) {
            const QString text = MainWindow::portStatusText({16, outcome, {}, {}, false});
            QVERIFY2(label1->fontMetrics().horizontalAdvance(text) <= label1->width(), qPrintable(text));
        }
        QVERIFY(texts.contains(QStringLiteral("COM3 failed")));
        QVERIFY(label1->toolTip().contains(QStringLiteral("dialout")));
    }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
