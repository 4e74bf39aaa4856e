#include "app/mainwindow.h"

#include "display/readingspanel.h"
#include "link/commport.h"
#include "link/link.h"
#include "records/outputcommands.h"
#include "records/recordtable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTime>
#include <QToolButton>

namespace bm {

namespace {

// The layout is drawn in twips, 15 to the pixel.
constexpr int px(int twips) { return (twips + 7) / 15; }

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr int kClientWidth = 12780;
constexpr int kClientHeight = 10125;
constexpr int kStatusHeight = 495;

// The time with hours, minutes and seconds in the user's format, without a zone.
QString clockTime(const QLocale& locale, const QTime& time)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

} // namespace

const QString MainWindow::kHelpTitle = QStringLiteral("欢迎使用我们公司产品");
const QString MainWindow::kHelpText = QStringLiteral("Brackenmoor(CN)\r   如需帮助请联系我们!\r");

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      port_(new CommPort(this)),
      table_(new RecordTable(this)),
      link_(new Link(port_, table_, this)),
      timer1_(this),
      endProgram_([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brackenmoor"));

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area);

    buildButtons(area);

    QFont statusFont = font();
    statusFont.setPointSize(12);
    label1_ = new QLabel(QStringLiteral("串口状态"), area);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twipsRect(10200, 120, 1695, 375));
    label1_->setFont(statusFont);
    label1_->setAccessibleDescription(QStringLiteral("serial port status"));
    label2_ = new QLabel(QStringLiteral("通信失败"), area);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(twipsRect(10200, 720, 1695, 375));
    label2_->setFont(statusFont);
    label2_->setAccessibleDescription(QStringLiteral("communication status"));

    // The tab strip only selects; the panel and the table lie over its page area.
    tabs_ = new QTabWidget(area);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    tabs_->setAccessibleName(QStringLiteral("view tabs"));
    tabs_->setGeometry(twipsRect(840, 1560, 11055, 7815));
    QFont tabFont = font();
    tabFont.setPointSize(12);
    tabFont.setBold(true);
    tabs_->tabBar()->setFont(tabFont);
    tabs_->addTab(new QWidget, QStringLiteral("实时监控"));
    tabs_->addTab(new QWidget, QStringLiteral("历史查询"));
    tabs_->setCurrentIndex(0);

    panel_ = new ReadingsPanel(link_->reading(), area);
    panel_->setGeometry(twipsRect(1440, 2040, 9615, 7095));
    panel_->setAccessibleName(QStringLiteral("readings panel"));

    grid_ = new QTableView(area);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setAccessibleName(QStringLiteral("records table"));
    grid_->setModel(table_);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(px(RecordTable::kRowHeight));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setDefaultSectionSize(px(RecordTable::kColWidth));
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);

    panel_->raise();
    grid_->raise();

    buildMenus();
    buildStatusBar();

    output_ = new OutputCommands(this, *link_, *table_, this);

    connect(link_, &Link::label1Changed, this, [this](const QString& text, const QString& tip) {
        label1_->setText(text);
        label1_->setToolTip(tip);
    });
    connect(link_, &Link::label2Changed, label2_, &QLabel::setText);
    connect(link_, &Link::buttonsEnabled, this, [this](bool on) {
        buttons_[0]->setEnabled(on);
        buttons_[1]->setEnabled(on);
    });
    connect(link_, &Link::readingChanged, panel_, &ReadingsPanel::showReading);
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tabSelected);

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::timer1Tick);
    timer1_.start();

    area->setFixedSize(px(kClientWidth), px(kClientHeight - kStatusHeight));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildButtons(QWidget* area)
{
    struct ButtonDef {
        const char* name;
        const char* caption;
        QStyle::StandardPixmap icon;
        int left;
        void (MainWindow::*handler)();
    };
    // Left to right as they stand; Command6 (help) sits before Command5 (close).
    const ButtonDef defs[6] = {
        {"Command1", "读取", QStyle::SP_ArrowDown, 840, &MainWindow::command1},
        {"Command2", "保存", QStyle::SP_DialogSaveButton, 2400, &MainWindow::command2},
        {"Command3", "清空", QStyle::SP_DialogResetButton, 3960, &MainWindow::command3},
        {"Command4", "打印", QStyle::SP_FileDialogDetailedView, 5520, &MainWindow::command4},
        {"Command6", "帮助", QStyle::SP_MessageBoxQuestion, 7080, &MainWindow::command6},
        {"Command5", "关闭", QStyle::SP_DialogCloseButton, 8640, &MainWindow::command5},
    };
    for (int i = 0; i < 6; ++i) {
        const ButtonDef& s = defs[i];
        auto* b = new QToolButton(area);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setText(QString::fromUtf8(s.caption));
        b->setIcon(style()->standardIcon(s.icon));
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(twipsRect(s.left, 240, 1335, 855));
        connect(b, &QToolButton::clicked, this, s.handler);
        // Kept in number order: buttons_[n - 1] is Command n.
        buttons_[QString::fromLatin1(s.name).mid(7).toInt() - 1] = b;
    }
}

void MainWindow::buildMenus()
{
    const auto addMenu = [this](const char* name, const char* title) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(title));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto addEntry = [this](QMenu* menu, const char* name, const char* text, void (MainWindow::*handler)()) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
    };
    QMenu* file = addMenu("mnufile", "文件");
    addEntry(file, "mnuread", "读取", &MainWindow::command1);
    addEntry(file, "mnusave", "保存", &MainWindow::command2);
    addEntry(file, "mnuclose", "关闭", &MainWindow::command5);
    QMenu* operate = addMenu("mnuoperate", "操作");
    addEntry(operate, "mnuclear", "清空", &MainWindow::command3);
    addEntry(operate, "mnuprint", "打印", &MainWindow::command4);
    QMenu* help = addMenu("mnuhelp", "帮助");
    addEntry(help, "aboutsoftware", "关于软件", &MainWindow::command6);
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setAccessibleName(QStringLiteral("status bar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(px(kStatusHeight));
    QFont f = bar->font();
    f.setPointSizeF(9.75);
    f.setBold(true);
    const auto addPanel = [&](const char* name, const QString& text, int widthTwips) {
        auto* l = new QLabel(text, bar);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(f);
        l->setFixedWidth(px(widthTwips));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        bar->addWidget(l);
        return l;
    };
    datePanel_ = addPanel("StatusBar1_Panel1", QString(), 1500);
    datePanel_->setAccessibleDescription(QStringLiteral("date"));
    addPanel("StatusBar1_Panel2", QStringLiteral("Brackenmoor"), 9700);
    timePanel_ = addPanel("StatusBar1_Panel3", QString(), 1500);
    timePanel_->setAccessibleDescription(QStringLiteral("time"));
}

void MainWindow::startUp()
{
    // The window-level start values are the link's and the panel's own defaults.
    panel_->vrprecordTick();
    timer1Tick();
    link_->start();
    command3();
    panel_->show();
    grid_->hide();
}

void MainWindow::command1() { link_->command1(); }

void MainWindow::command2() { output_->save(); }

void MainWindow::command3()
{
    grid_->setGeometry(twipsRect(1550, 2440, 9615, 6500));
    table_->initgrid();
}

void MainWindow::command4() { output_->print(); }

void MainWindow::command5()
{
    stopEverything();
    endProgram_();
}

void MainWindow::command6()
{
    // Modal, but not blocking: the link and the clock go on while it is open.
    auto* box = new QMessageBox(QMessageBox::Information, kHelpTitle,
                                QString(kHelpText).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("helpBox"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->open();
}

void MainWindow::tabSelected(int index)
{
    const bool live = index == 0;
    link_->selectTab(live);
    panel_->setVisible(live);
    grid_->setVisible(!live);
}

void MainWindow::timer1Tick()
{
    const QLocale locale;
    datePanel_->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    timePanel_->setText(clockTime(locale, QTime::currentTime()));
}

void MainWindow::stopEverything()
{
    // No handler may run once the user has asked to close.
    ending_ = true;
    for (QTimer* t : findChildren<QTimer*>())
        t->stop();
    port_->close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ending_)
        stopEverything();
    event->accept();
}

} // namespace bm
