#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace bm {

class Link;
class RecordTable;

// The windows the menus open. They bring Qt Charts and Qt SQL with them, so
// they are built as a module of their own, loaded the first time one is asked
// for: the main window starts without them.
class LateWindows {
public:
    virtual ~LateWindows() = default;
    // Each opens its window, or raises the one already open.
    virtual void showSoilAnalysis() = 0;  // 土壤分析
    virtual void showEarthAnalysis() = 0; // 接地电阻分析
    virtual void showTrend() = 0;         // 实时趋势, fed by the link's live readings
    virtual void saveToHistory() = 0;     // 保存到现场记录…
    virtual void showHistory() = 0;       // 现场记录
};

// What they work over. The owner is the main window: their parent, and it
// outlives them.
struct LateWindowsContext {
    RecordTable& table;
    Link& link;
    QWidget& owner;
};

// Why they cannot be had.
enum class LateFailure {
    None,
    Missing,      // no folder holds the module; the detail lists them
    Unloadable,   // the detail names the file and the loader's reason
    OtherVersion, // the module belongs to another version; the detail names the file
};

// The windows, or why they cannot be had.
struct LateWindowsLoad {
    std::unique_ptr<LateWindows> windows;
    LateFailure failure = LateFailure::None;
    QString detail;
};

using LateWindowsMaker = std::function<LateWindowsLoad(const LateWindowsContext&)>;

// Loads the module from the first of the folders that holds it. The module
// stays loaded for the rest of the run: the windows' code lives in it.
LateWindowsMaker lateWindowsModule(QStringList folders);
// Where the module lives: beside the program in a build tree (and on
// Windows), under the library folder once installed.
QStringList lateWindowsFolders();

// The module's one export. It refuses (returns null) a caller of another version:
// the module works on the caller's objects, so both must come from one build.
using LateWindowsEntry = LateWindows* (*)(const char* version, const LateWindowsContext* context);
inline constexpr char kLateWindowsEntry[] = "brackenmoor_late_windows";
inline constexpr char kLateWindowsModule[] = "brackenmoor_late";

} // namespace bm
