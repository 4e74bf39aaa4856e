#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <functional>

class QAction;
class QLabel;
class QStatusBar;
class QTabWidget;
class QTableView;
class QToolButton;

namespace bm {

class CommPort;
class Link;
class OutputCommands;
class ReadingsPanel;
class RecordTable;

// The one window: buttons, status labels, the two tabs over the readings panel
// and the records table, menus, help box and status-bar clock. It owns every
// piece of the program and routes commands to them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The help box, with its carriage-return line breaks.
    static const QString kHelpTitle;
    static const QString kHelpText;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // What ends the program; tests replace it so they survive the close command.
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }

    Link& link() { return *link_; }
    RecordTable& table() { return *table_; }
    ReadingsPanel& panel() { return *panel_; }
    QTimer* clockTimer() { return &timer1_; }

    // Command handlers; the menu entries run the very same ones, even while a button is disabled.
    void command1(); // 读取
    void command2(); // 保存
    void command3(); // 清空
    void command4(); // 打印
    void command5(); // 关闭
    void command6(); // 帮助

    // Tab selection: index 0 is the live tab.
    void tabSelected(int index);
    // The status-bar clock.
    void timer1Tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildButtons(QWidget* area);
    void buildMenus();
    void buildStatusBar();
    void startUp();
    void stopEverything();

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
    OutputCommands* output_ = nullptr;
    QTimer timer1_;
    std::function<void()> endProgram_;
    bool ending_ = false;
};

} // namespace bm
