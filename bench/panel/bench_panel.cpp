// CPU used by the readings panel during a reveal and while it stands idle.
// Prints figures; asserts nothing. Runs offscreen unless a platform is chosen.
#include "display/readingspanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

// Process CPU time (user + system) in milliseconds.
double cpuMs()
{
#if defined(Q_OS_UNIX)
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
#elif defined(Q_OS_WIN)
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
#else
    return 0;
#endif
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void measure(const char* what, int ms, bm::ReadingsPanel& panel)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuMs();
    runFor(ms);
    const double cpu = cpuMs() - cpu0;
    const double elapsed = double(wall.nsecsElapsed()) / 1e6;
    std::printf("%-34s wall %7.0f ms  cpu %7.1f ms  load %5.2f %%  (Movectrltimer %s, Movetimer %s)\n", what, elapsed,
                cpu, 100.0 * cpu / elapsed, panel.revealTimer()->isActive() ? "on" : "off",
                panel.flightTimer()->isActive() ? "on" : "off");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    bm::Reading reading;
    bm::ReadingsPanel panel(reading);
    panel.show();
    runFor(200); // let the first paint settle

    panel.modeWatchTick();
    measure("start-up reveal (6 labels)", 1500, panel);
    measure("idle after the reveal", 5000, panel);

    const int modes[] = {3, 1, 2, 3, 2};
    for (int mode : modes) {
        reading.testmode = mode;
        panel.modeWatchTick();
        char what[64];
        std::snprintf(what, sizeof what, "reveal of mode %d", mode);
        measure(what, 2000, panel);
    }
    measure("idle after the last reveal", 5000, panel);
    return 0;
}
