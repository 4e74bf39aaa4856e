// The bare window the program's start-up is measured against.
// startup_bare [WIDTH HEIGHT TEXT]: that size, and that label.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QMainWindow window;
    window.setCentralWidget(new QLabel(args.size() > 3 ? args[3] : QStringLiteral("A bare Qt Widgets window")));
    if (args.size() > 3)
        window.resize(args[1].toInt(), args[2].toInt());
    window.show();
    return app.exec();
}
