#include "app/mainwindow.h"

namespace bm {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {}

} // namespace bm
