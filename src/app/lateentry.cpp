#include "app/latewindows.h"
#include "app/menuwindows.h"

#include <QtGlobal>

#include <cstring>

// The module's one export: the windows over the caller's table and link.
extern "C" Q_DECL_EXPORT bm::LateWindows* brackenmoor_late_windows(const char* version,
                                                                   const bm::LateWindowsContext* context)
{
    // The windows use the caller's objects as this build lays them out.
    if (!version || !context || std::strcmp(version, BRACKENMOOR_VERSION) != 0)
        return nullptr;
    return new bm::MenuWindows(*context);
}
