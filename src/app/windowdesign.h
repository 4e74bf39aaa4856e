#pragma once

#include <QtGlobal>

// The main window as drawn: every control's name, caption and place in twips
// (15 to the pixel). Captions are translated where the window walks the tables.
namespace bm::design {

constexpr int kClientWidth = 12780;
constexpr int kClientHeight = 10125;
constexpr int kStatusHeight = 495;

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

struct Control {
    const char* name;
    const char* caption;
    Rect rect;
};

// Left to right as they stand; Command6 (help) sits before Command5 (close).
constexpr Control kButtons[] = {
    {"Command1", QT_TRANSLATE_NOOP("bm::MainWindow", "读取"), {840, 240, 1335, 855}},
    {"Command2", QT_TRANSLATE_NOOP("bm::MainWindow", "保存"), {2400, 240, 1335, 855}},
    {"Command3", QT_TRANSLATE_NOOP("bm::MainWindow", "清空"), {3960, 240, 1335, 855}},
    {"Command4", QT_TRANSLATE_NOOP("bm::MainWindow", "打印"), {5520, 240, 1335, 855}},
    {"Command6", QT_TRANSLATE_NOOP("bm::MainWindow", "帮助"), {7080, 240, 1335, 855}},
    {"Command5", QT_TRANSLATE_NOOP("bm::MainWindow", "关闭"), {8640, 240, 1335, 855}},
};

constexpr Control kLabel1{"Label1", QT_TRANSLATE_NOOP("bm::MainWindow", "串口状态"), {10200, 120, 1695, 375}};
constexpr Control kLabel2{"Label2", QT_TRANSLATE_NOOP("bm::MainWindow", "通信失败"), {10200, 720, 1695, 375}};
constexpr Control kTabStrip{"TabStrip1", nullptr, {840, 1560, 11055, 7815}};
constexpr const char* kTabs[] = {QT_TRANSLATE_NOOP("bm::MainWindow", "实时监控"),
                                 QT_TRANSLATE_NOOP("bm::MainWindow", "历史查询")};
constexpr Control kPanel{"Frame1", nullptr, {1440, 2040, 9615, 7095}};
constexpr Control kGrid{"grid", nullptr, {1550, 2440, 9615, 6500}};

// A menu entry runs the handler of the button with the same number (0: none).
struct MenuEntry {
    const char* name;
    const char* caption;
    int command;
};

struct Menu {
    const char* name;
    const char* caption;
    MenuEntry entries[3];
};

constexpr Menu kMenus[] = {
    {"mnufile",
     QT_TRANSLATE_NOOP("bm::MainWindow", "文件"),
     {{"mnuread", QT_TRANSLATE_NOOP("bm::MainWindow", "读取"), 1},
      {"mnusave", QT_TRANSLATE_NOOP("bm::MainWindow", "保存"), 2},
      {"mnuclose", QT_TRANSLATE_NOOP("bm::MainWindow", "关闭"), 5}}},
    {"mnuoperate",
     QT_TRANSLATE_NOOP("bm::MainWindow", "操作"),
     {{"mnuclear", QT_TRANSLATE_NOOP("bm::MainWindow", "清空"), 3},
      {"mnuprint", QT_TRANSLATE_NOOP("bm::MainWindow", "打印"), 4},
      {nullptr, nullptr, 0}}},
    {"mnuhelp",
     QT_TRANSLATE_NOOP("bm::MainWindow", "帮助"),
     {{"aboutsoftware", QT_TRANSLATE_NOOP("bm::MainWindow", "关于软件"), 6},
      {nullptr, nullptr, 0},
      {nullptr, nullptr, 0}}},
};

// The status bar's three panels: date, product title, time.
struct StatusPanel {
    const char* name;
    const char* text;
    int width;
};

constexpr StatusPanel kStatusPanels[] = {
    {"StatusBar1_Panel1", nullptr, 1500},
    {"StatusBar1_Panel2", "Brackenmoor", 9700},
    {"StatusBar1_Panel3", nullptr, 1500},
};

} // namespace bm::design
