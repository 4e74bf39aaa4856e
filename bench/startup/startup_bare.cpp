// The bare window the program's start-up is measured against.
// startup_bare [TEXT [WIDTH HEIGHT]]: that label, at that size.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QMainWindow window;
    window.setCentralWidget(new QLabel(args.size() > 1 ? args[1] : QStringLiteral("A bare Qt Widgets window")));
    if (args.size() > 3)
        window.resize(args[2].toInt(), args[3].toInt());
    window.show();
    return app.exec();
}
