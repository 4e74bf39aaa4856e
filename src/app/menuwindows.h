#pragma once

#include "app/latewindows.h"

#include <QPointer>

namespace bm {

class TrendWindow;
namespace soil {
class SoilWindow;
}
namespace electrode {
class FopWindow;
}
namespace history {
class HistoryCommands;
}

// The windows the menus open, one of each, made on first use over the main
// window's table and link.
class MenuWindows final : public LateWindows {
public:
    explicit MenuWindows(const LateWindowsContext& context);
    ~MenuWindows() override;
    MenuWindows(const MenuWindows&) = delete;
    MenuWindows& operator=(const MenuWindows&) = delete;

    void showSoilAnalysis() override;
    void showEarthAnalysis() override;
    void showTrend() override;
    void saveToHistory() override;
    void showHistory() override;

private:
    history::HistoryCommands& history();

    LateWindowsContext context_;
    QPointer<soil::SoilWindow> soil_;
    QPointer<electrode::FopWindow> fop_;
    QPointer<TrendWindow> trend_;
    QPointer<history::HistoryCommands> history_;
};

// For programs that link the windows in rather than load them.
LateWindowsMaker linkedLateWindows();

} // namespace bm
