#include "app/menuwindows.h"

#include "electrode/ui/fopwindow.h"
#include "history/ui/historycommands.h"
#include "link/link.h"
#include "soil/ui/soilwindow.h"
#include "trend/trendwindow.h"

#include <QDateTime>
#include <QWidget>

namespace bm {

namespace {

void bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MenuWindows::MenuWindows(const LateWindowsContext& context) : context_(context) {}

MenuWindows::~MenuWindows()
{
    // The analysis windows read the table, which the owner deletes next.
    delete soil_.data();
    delete fop_.data();
    delete trend_.data();
    delete history_.data();
}

void MenuWindows::showSoilAnalysis()
{
    if (!soil_)
        soil_ = new soil::SoilWindow(context_.table, &context_.owner);
    bringUp(soil_);
}

void MenuWindows::showEarthAnalysis()
{
    if (!fop_)
        fop_ = new electrode::FopWindow(context_.table, &context_.owner);
    bringUp(fop_);
}

void MenuWindows::showTrend()
{
    if (!trend_) {
        auto* trend = new TrendWindow(nullptr, &context_.owner);
        trend->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(&context_.link, &Link::measurementReceived, trend, [trend](const Measurement& m) {
            trend->addMeasurement(m, QDateTime::currentMSecsSinceEpoch());
        });
        trend_ = trend;
    }
    bringUp(trend_);
}

history::HistoryCommands& MenuWindows::history()
{
    if (!history_)
        history_ = new history::HistoryCommands(&context_.owner, context_.table);
    return *history_;
}

void MenuWindows::saveToHistory() { history().saveTable(); }

void MenuWindows::showHistory() { history().showWindow(); }

LateWindowsMaker linkedLateWindows()
{
    return [](const LateWindowsContext& context) {
        LateWindowsLoad load;
        load.windows = std::make_unique<MenuWindows>(context);
        return load;
    };
}

} // namespace bm
