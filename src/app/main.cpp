#include "app/commandline.h"
#include "app/language.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QIcon>

namespace {

// The bitmaps rendered from the icon at build time (see packaging/AppIcon.cmake).
QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/" BRACKENMOOR_APP_ID ".png").arg(size));
    return icon;
}

} // namespace

int main(int argc, char** argv)
{
    bm::setApplicationIdentity();
    if (const auto code = bm::answerWithoutDisplay(argc, argv))
        return *code;

    QApplication app(argc, argv);
    // Before the translators: the command line answers in English like --help.
    if (const auto code = bm::rejectUnexpectedArguments(QApplication::arguments()))
        return *code;
    bm::installTranslators(app, bm::chooseLanguage(bm::preferredLanguages()));
    QGuiApplication::setDesktopFileName(QStringLiteral(BRACKENMOOR_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    bm::MainWindow window;
    window.show();
    return app.exec();
}
