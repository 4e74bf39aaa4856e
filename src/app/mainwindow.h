#pragma once

#include "app/latewindows.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <functional>

class QLabel;
class QMenu;
class QTabWidget;
class QTableView;
class QToolButton;

namespace bm {

class CommPort;
class DownloadProgress;
class Link;
class OutputCommands;
class ReadingsPanel;
class RecordTable;
struct PortAttempt;

// The one window: buttons, status labels, the two tabs over the readings panel
// and the records table, menus, help box and status-bar clock. It owns every
// piece of the program, routes commands to them and says what the link reports.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // What ends the program; tests replace it so they survive the close command.
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
    // Where the menus' windows come from: by default the module beside or
    // under the program, loaded on first use. Before any is opened.
    void setLateWindows(LateWindowsMaker make) { makeLate_ = std::move(make); }

    Link& link() { return *link_; }
    RecordTable& table() { return *table_; }
    ReadingsPanel& panel() { return *panel_; }
    DownloadProgress& downloadProgress() { return *progress_; }
    // 0 文件, 1 操作, 2 帮助: later entries go after the ones of the design.
    QMenu* menu(int index) const { return menus_[index]; }

    // Command handlers; the menu entries run the very same ones, even while a button is disabled.
    void readRecords();  // 读取
    void saveOutput();   // 保存
    void clearTable();   // 清空
    void printOutput();  // 打印
    void closeProgram(); // 关闭
    void showHelp();     // 帮助
    // 土壤分析: one window over the records table, brought back to front when already open.
    void showSoilAnalysis();
    // 接地电阻分析: the fall-of-potential window, likewise one.
    void showEarthAnalysis();
    // 实时趋势: opens the live trend window, or raises the one already open.
    void showTrend();
    // 保存到现场记录… and 现场记录.
    void saveToHistory();
    void showHistory();

    // Tab selection: index 0 is the live tab.
    void tabSelected(int index);
    // The status-bar clock.
    void clockTick();

    // The texts of the link's state, in the interface language.
    static QString portStatusText(const PortAttempt& attempt);
    static QString portToolTip(const PortAttempt& attempt);
    static QString linkStatusText(bool linked);
    // Why a window from the menus cannot open.
    static QString lateFailureText(const LateWindowsLoad& load);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLabels(QWidget* area);
    void buildTabs(QWidget* area);
    void buildGrid(QWidget* area);
    void buildButtons(QWidget* area);
    void buildMenus();
    void addLaterEntries();
    void buildStatusBar();
    void connectLink();
    void startUp();
    void stopEverything();
    void runCommand(int number);
    // The menus' windows, loaded on first use; null (and the user told) when they cannot be.
    LateWindows* late();
    // Runs one of their commands, once they are there.
    void openLate(void (LateWindows::*open)());

    CommPort* port_;
    RecordTable* table_;
    Link* link_;
    ReadingsPanel* panel_ = nullptr;
    QTableView* grid_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* datePanel_ = nullptr;
    QLabel* timePanel_ = nullptr;
    QToolButton* buttons_[6] = {};
    QMenu* menus_[3] = {};
    OutputCommands* output_ = nullptr;
    DownloadProgress* progress_ = nullptr;
    LateWindowsMaker makeLate_;
    std::unique_ptr<LateWindows> late_;
    QTimer timer1_;
    std::function<void()> endProgram_;
    bool ending_ = false;
};

} // namespace bm
