#include "app/mainwindow.h"

#include "app/downloadprogress.h"
#include "app/windowdesign.h"
#include "display/readingspanel.h"
#include "link/commport.h"
#include "link/link.h"
#include "records/csvwriter.h"
#include "output/outputcommands.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/savetargets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
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

constexpr int px(int twips) { return (twips + 7) / 15; }

QRect pixels(const design::Rect& r) { return QRect(px(r.left), px(r.top), px(r.width), px(r.height)); }

// The time with hours, minutes and seconds in the user's format, without a zone.
QString clockTime(const QLocale& locale, const QTime& time)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

// Below the records table, inside the tab strip: no control of the design moves for it.
constexpr design::Rect kProgressPlace{1550, 8990, 9615, 330};

QFont sizedFont(QFont font, qreal points, bool bold)
{
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Button pictures, in the order of design::kButtons.
constexpr QStyle::StandardPixmap kButtonIcons[] = {
    QStyle::SP_ArrowDown,          QStyle::SP_DialogSaveButton,
    QStyle::SP_DialogResetButton,  QStyle::SP_FileDialogDetailedView,
    QStyle::SP_MessageBoxQuestion, QStyle::SP_DialogCloseButton,
};

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), port_(new CommPort(this)), table_(new RecordTable(this)), link_(new Link(port_, this)),
      makeLate_(lateWindowsModule(lateWindowsFolders())), timer1_(this), endProgram_([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brackenmoor"));

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area);

    buildButtons(area);
    buildLabels(area);
    buildTabs(area);
    panel_ = new ReadingsPanel(link_->reading(), area);
    panel_->setGeometry(pixels(design::kPanel.rect));
    panel_->setAccessibleName(tr("readings panel"));
    buildGrid(area);
    // The panel and the table lie over the tab strip's page area.
    panel_->raise();
    grid_->raise();
    progress_ = new DownloadProgress(area, pixels(kProgressPlace), this);
    buildMenus();
    addLaterEntries();
    buildStatusBar();

    output_ = new OutputCommands(this,
                                 OutputSource{
                                     [this] { return link_->realtime(); },
                                     [this] { return link_->reading(); },
                                     [this] { return static_cast<int>(link_->recordcount()); },
                                     [this] { return gridOf(*table_); },
                                     [this] { return grab().toImage(); },
                                     [this] { return recordsCsv(*table_); },
                                 },
                                 this);
    connectLink();

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::clockTick);
    timer1_.start();

    area->setFixedSize(px(design::kClientWidth), px(design::kClientHeight - design::kStatusHeight));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    startUp();
}

MainWindow::~MainWindow()
{
    // The analysis windows read the table, which as an earlier child would go first.
    late_.reset();
}

void MainWindow::buildLabels(QWidget* area)
{
    const QFont statusFont = sizedFont(font(), 12, false);
    const auto make = [&](const design::Control& d, const QString& description) {
        auto* label = new QLabel(tr(d.caption), area);
        label->setObjectName(QString::fromLatin1(d.name));
        label->setGeometry(pixels(d.rect));
        label->setFont(statusFont);
        label->setAccessibleDescription(description);
        return label;
    };
    label1_ = make(design::kLabel1, tr("serial port status"));
    label2_ = make(design::kLabel2, tr("communication status"));
}

void MainWindow::buildTabs(QWidget* area)
{
    // The tab strip only selects; its pages stay empty.
    tabs_ = new QTabWidget(area);
    tabs_->setObjectName(QString::fromLatin1(design::kTabStrip.name));
    tabs_->setAccessibleName(tr("view tabs"));
    tabs_->setGeometry(pixels(design::kTabStrip.rect));
    tabs_->tabBar()->setFont(sizedFont(font(), 12, true));
    for (const char* caption : design::kTabs)
        tabs_->addTab(new QWidget, tr(caption));
    tabs_->setCurrentIndex(0);
}

void MainWindow::buildGrid(QWidget* area)
{
    grid_ = new QTableView(area);
    grid_->setObjectName(QString::fromLatin1(design::kGrid.name));
    grid_->setAccessibleName(tr("records table"));
    grid_->setModel(table_);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(px(RecordTable::kRowHeight));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setDefaultSectionSize(px(RecordTable::kColWidth));
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
}

void MainWindow::buildButtons(QWidget* area)
{
    int i = 0;
    for (const design::Control& d : design::kButtons) {
        auto* b = new QToolButton(area);
        b->setObjectName(QString::fromLatin1(d.name));
        b->setText(tr(d.caption));
        b->setIcon(style()->standardIcon(kButtonIcons[i++]));
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(pixels(d.rect));
        // Kept in number order: buttons_[n - 1] is Command n.
        const int number = QString::fromLatin1(d.name).mid(7).toInt();
        buttons_[number - 1] = b;
        connect(b, &QToolButton::clicked, this, [this, number] { runCommand(number); });
    }
}

void MainWindow::buildMenus()
{
    int i = 0;
    for (const design::Menu& d : design::kMenus) {
        QMenu* m = menuBar()->addMenu(tr(d.caption));
        m->setObjectName(QString::fromLatin1(d.name));
        m->menuAction()->setObjectName(QString::fromLatin1(d.name));
        menus_[i++] = m;
        for (const design::MenuEntry& e : d.entries) {
            if (!e.name)
                break;
            QAction* a = m->addAction(tr(e.caption));
            a->setObjectName(QString::fromLatin1(e.name));
            connect(a, &QAction::triggered, this, [this, number = e.command] { runCommand(number); });
        }
    }
}

LateWindows* MainWindow::late()
{
    if (late_)
        return late_.get();
    LateWindowsLoad load = makeLate_(LateWindowsContext{*table_, *link_, *this});
    late_ = std::move(load.windows);
    if (!late_) {
        // Not blocking, like the help box: the link goes on.
        auto* box =
            new QMessageBox(QMessageBox::Warning, tr("无法打开窗口"), lateFailureText(load), QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("lateFailureBox"));
        box->setTextFormat(Qt::PlainText);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    return late_.get();
}

QString MainWindow::lateFailureText(const LateWindowsLoad& load)
{
    switch (load.failure) {
    case LateFailure::Missing:
        return tr("找不到窗口模块 %1,查找了:\n%2").arg(QLatin1String(kLateWindowsModule), load.detail);
    case LateFailure::Unloadable: return tr("无法载入窗口模块:\n%1").arg(load.detail);
    case LateFailure::OtherVersion: return tr("窗口模块 %1 属于另一个版本的程序。").arg(load.detail);
    case LateFailure::None: break;
    }
    return {};
}

void MainWindow::openLate(void (LateWindows::*open)())
{
    if (LateWindows* windows = late())
        (windows->*open)();
}

void MainWindow::showSoilAnalysis() { openLate(&LateWindows::showSoilAnalysis); }

void MainWindow::showEarthAnalysis() { openLate(&LateWindows::showEarthAnalysis); }

void MainWindow::showTrend() { openLate(&LateWindows::showTrend); }

void MainWindow::saveToHistory() { openLate(&LateWindows::saveToHistory); }

void MainWindow::showHistory() { openLate(&LateWindows::showHistory); }

void MainWindow::addLaterEntries()
{
    // After the entries of the design, each where its menu ends.
    QAction* csv = menu(0)->addAction(tr("导出CSV"));
    csv->setObjectName(QStringLiteral("mnucsv"));
    connect(csv, &QAction::triggered, this, [this] { output_->savecsv(); });
    QAction* soil = menu(1)->addAction(tr("土壤分析"));
    soil->setObjectName(QStringLiteral("mnusoil"));
    connect(soil, &QAction::triggered, this, &MainWindow::showSoilAnalysis);
    QAction* trend = menu(1)->addAction(tr("实时趋势"));
    trend->setObjectName(QStringLiteral("mnutrend"));
    connect(trend, &QAction::triggered, this, &MainWindow::showTrend);
    QAction* fop = menu(1)->addAction(tr("接地电阻分析"));
    fop->setObjectName(QStringLiteral("mnufop"));
    connect(fop, &QAction::triggered, this, &MainWindow::showEarthAnalysis);
    QAction* keep = menu(0)->addAction(tr("保存到现场记录…"));
    keep->setObjectName(QStringLiteral("mnuhistorysave"));
    connect(keep, &QAction::triggered, this, &MainWindow::saveToHistory);
    QAction* sites = menu(1)->addAction(tr("现场记录"));
    sites->setObjectName(QStringLiteral("mnuhistory"));
    connect(sites, &QAction::triggered, this, &MainWindow::showHistory);
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setAccessibleName(tr("status bar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(px(design::kStatusHeight));
    const QFont f = sizedFont(bar->font(), 9.75, true);
    QLabel* panels[3] = {};
    int i = 0;
    for (const design::StatusPanel& d : design::kStatusPanels) {
        auto* l = new QLabel(d.text ? QString::fromUtf8(d.text) : QString(), bar);
        l->setObjectName(QString::fromLatin1(d.name));
        l->setFont(f);
        l->setFixedWidth(px(d.width));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        bar->addWidget(l);
        panels[i++] = l;
    }
    datePanel_ = panels[0];
    datePanel_->setAccessibleDescription(tr("date"));
    timePanel_ = panels[2];
    timePanel_->setAccessibleDescription(tr("time"));
}

void MainWindow::connectLink()
{
    connect(link_, &Link::portTried, this, [this](const PortAttempt& attempt) {
        label1_->setText(portStatusText(attempt));
        label1_->setToolTip(portToolTip(attempt));
    });
    connect(link_, &Link::linkChanged, this, [this](bool linked) { label2_->setText(linkStatusText(linked)); });
    connect(link_, &Link::buttonsEnabled, this, [this](bool on) {
        buttons_[0]->setEnabled(on);
        buttons_[1]->setEnabled(on);
    });
    connect(link_, &Link::readingChanged, panel_, &ReadingsPanel::showReading);
    connect(link_, &Link::recordReceived, table_, &RecordTable::appendRecord);
    connect(link_, &Link::recordRepaired, table_, &RecordTable::fillRecord);
    connect(link_, &Link::downloadProgress, progress_, &DownloadProgress::progress);
    connect(link_, &Link::repairProgress, progress_, &DownloadProgress::repairProgress);
    connect(link_, &Link::downloadStarted, progress_, [this] { progress_->setMissing(0); });
    connect(link_, &Link::downloadEnded, progress_, [this](bool complete) {
        progress_->ended();
        progress_->setMissing(complete ? link_->missingRecords() : 0);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tabSelected);
}

QString MainWindow::portStatusText(const PortAttempt& attempt)
{
    switch (attempt.outcome) {
    case OpenOutcome::Opened: return tr("COM%1已打开").arg(attempt.number);
    case OpenOutcome::Busy: return tr("COM%1被占用").arg(attempt.number);
    case OpenOutcome::Missing: return tr("COM%1无效").arg(attempt.number);
    case OpenOutcome::Failed: break;
    }
    return tr("COM%1打开失败").arg(attempt.number);
}

QString MainWindow::portToolTip(const PortAttempt& attempt)
{
    if (attempt.reason.isEmpty())
        return attempt.device;
    QString tip = attempt.device.isEmpty() ? attempt.reason : attempt.device + QStringLiteral(": ") + attempt.reason;
    if (attempt.accessDenied)
        tip += QLatin1Char('\n') + tr("将用户加入 dialout 组并重新登录后即可使用此端口");
    return tip;
}

QString MainWindow::linkStatusText(bool linked) { return linked ? tr("通信成功") : tr("通信失败"); }

void MainWindow::startUp()
{
    // The window-level start values are the link's and the panel's own defaults.
    panel_->modeWatchTick();
    clockTick();
    link_->start();
    clearTable();
    panel_->show();
    grid_->hide();
}

void MainWindow::runCommand(int number)
{
    switch (number) {
    case 1: readRecords(); break;
    case 2: saveOutput(); break;
    case 3: clearTable(); break;
    case 4: printOutput(); break;
    case 5: closeProgram(); break;
    case 6: showHelp(); break;
    default: break;
    }
}

void MainWindow::readRecords() { link_->readRecords(); }

void MainWindow::saveOutput() { output_->save(); }

void MainWindow::clearTable()
{
    grid_->setGeometry(pixels(design::kGrid.rect));
    table_->initgrid();
    progress_->setMissing(0);
}

void MainWindow::printOutput() { output_->print(); }

void MainWindow::closeProgram()
{
    stopEverything();
    endProgram_();
}

void MainWindow::showHelp()
{
    // Modal, but not blocking: the link and the clock go on while it is open.
    auto* box =
        new QMessageBox(QMessageBox::Information, tr("欢迎使用我们公司产品"),
                        tr("Brackenmoor(CN)\r   如需帮助请联系我们!\r").replace(QLatin1Char('\r'), QLatin1Char('\n')),
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
    progress_->setRecordsTab(!live);
}

void MainWindow::clockTick()
{
    const QLocale locale;
    datePanel_->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    timePanel_->setText(clockTime(locale, QTime::currentTime()));
}

void MainWindow::stopEverything()
{
    // No handler may run once the user has asked to close.
    ending_ = true;
    link_->stop();
    panel_->stop();
    progress_->stop();
    timer1_.stop();
    port_->close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ending_)
        stopEverything();
    event->accept();
}

} // namespace bm
