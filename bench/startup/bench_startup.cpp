// The program's start-up beside a bare Qt Widgets window (a QMainWindow with
// one label), started in turn in one Xvfb: the time from spawn to the window
// being mapped, and resident memory a second after, as medians of N starts
// each (--runs N, default 9) and their ratios; --program PATH measures another
// build. Two more bare windows show how much of the difference is the CJK font
// of the interface language and how much the window's size and texts. Also
// lists the shared libraries the program has loaded once shown that the bare
// window has not.
// Printed, never asserted.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kSettleMs = 1000; // after mapping, before resident memory is read
constexpr int kMapTimeoutMs = 30000;

// An Xvfb on the first free display from :91, stopped with this object.
class XServer {
public:
    bool start()
    {
        for (int n = 91; n < 140; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
                || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display_ = QStringLiteral(":%1").arg(n);
            server_.start(QStringLiteral("Xvfb"), {display_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
            if (!server_.waitForStarted(5000))
                return false;
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 10000 && server_.state() == QProcess::Running) {
                if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                    return true;
                QThread::msleep(50);
            }
            server_.kill();
            server_.waitForFinished();
        }
        return false;
    }
    ~XServer()
    {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
    }
    QString display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

// Watches the root window for top-level windows being mapped.
class MapWatch {
public:
    explicit MapWatch(const QString& display)
        : connection_(xcb_connect(display.toLocal8Bit().constData(), nullptr), xcb_disconnect)
    {
        if (!ok())
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
        pidAtom_ = atom("_NET_WM_PID");
        xcb_flush(connection_.get());
    }
    bool ok() const { return !xcb_connection_has_error(connection_.get()); }

    // A window of this process once mapped, within the timeout; none when not.
    xcb_window_t waitForMap(qint64 pid, const QElapsedTimer& clock, int timeoutMs)
    {
        while (clock.elapsed() < timeoutMs) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(connection_.get())) {
                const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(e)->window;
                std::free(e);
                if (mapped && pidOf(window) == pid)
                    return window;
            }
            pollfd fd{xcb_get_file_descriptor(connection_.get()), POLLIN, 0};
            ::poll(&fd, 1, 20);
        }
        return XCB_WINDOW_NONE;
    }
    QSize size(xcb_window_t window)
    {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> r(
            xcb_get_geometry_reply(connection_.get(), xcb_get_geometry(connection_.get(), window), nullptr), std::free);
        return r ? QSize(r->width, r->height) : QSize();
    }

private:
    xcb_atom_t atom(const char* name)
    {
        auto cookie = xcb_intern_atom(connection_.get(), 0, uint16_t(std::strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> r(
            xcb_intern_atom_reply(connection_.get(), cookie, nullptr), std::free);
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    qint64 pidOf(xcb_window_t window)
    {
        auto cookie = xcb_get_property(connection_.get(), 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> r(
            xcb_get_property_reply(connection_.get(), cookie, nullptr), std::free);
        if (!r || xcb_get_property_value_length(r.get()) < 4)
            return -1;
        return *static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    }

    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection_;
    xcb_atom_t pidAtom_ = XCB_ATOM_NONE;
};

double residentMiB(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// The file names of the shared libraries mapped into the process.
QSet<QString> libraries(qint64 pid)
{
    QSet<QString> names;
    QFile f(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return names;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype at = line.indexOf('/');
        const QString path = at < 0 ? QString() : QString::fromLocal8Bit(line.mid(at));
        if (path.contains(QLatin1String(".so")))
            names.insert(path.section(QLatin1Char('/'), -1));
    }
    return names;
}

struct Start {
    double mapMs = -1;
    double rssMiB = -1;
    QSet<QString> libs;
    QSize size;
};

Start startOnce(const QString& program, const QStringList& arguments, const QString& display, MapWatch& watch)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    Start s;
    QElapsedTimer clock;
    clock.start();
    p.start(program, arguments);
    xcb_window_t window = XCB_WINDOW_NONE;
    if (p.waitForStarted(kMapTimeoutMs)
        && (window = watch.waitForMap(p.processId(), clock, kMapTimeoutMs)) != XCB_WINDOW_NONE) {
        s.mapMs = double(clock.nsecsElapsed()) / 1e6;
        s.size = watch.size(window);
        QThread::msleep(kSettleMs);
        s.rssMiB = residentMiB(p.processId());
        s.libs = libraries(p.processId());
    }
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    return s;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> mapMs, rssMiB;
    QSet<QString> libs;
    int failed = 0;
    void add(const Start& s)
    {
        if (s.mapMs < 0) {
            ++failed;
            return;
        }
        mapMs.push_back(s.mapMs);
        rssMiB.push_back(s.rssMiB);
        libs = s.libs;
        size = s.size;
    }
    QSize size;
};

// A bare window the program is compared with, and the arguments that make it.
struct Comparison {
    const char* name;
    const char* what;
    QStringList arguments;
};

void printLibraries(const char* what, QStringList names)
{
    names.sort();
    std::printf("%s (%lld):\n", what, static_cast<long long>(names.size()));
    for (const QString& n : names)
        std::printf("    %s\n", qPrintable(n));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 9;
    QString brackenmoor = QStringLiteral(BM_APP_PATH); // --program: another build of it, to compare
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--program") == 0)
            brackenmoor = QString::fromLocal8Bit(argv[i + 1]);
    }
    XServer x;
    if (!x.start()) {
        std::fprintf(stderr, "bench_startup: could not start Xvfb\n");
        return 1;
    }
    MapWatch watch(x.display());
    if (!watch.ok()) {
        std::fprintf(stderr, "bench_startup: no connection to %s\n", qPrintable(x.display()));
        return 1;
    }
    // No tester: the program searches its ports but finds none, as on a desk.
    qputenv("BRACKENMOOR_PORTS", "/nonexistent/brackenmoor-bench-port");
    const QString plain = QStringLiteral(BM_BARE_PATH);
    startOnce(plain, {}, x.display(), watch); // fills the file cache for all of them
    const QSize size = startOnce(brackenmoor, {}, x.display(), watch).size;
    // Texts the program shows at start, in its default interface language.
    const QString texts = QStringLiteral("读取 保存 清空 打印 关闭 帮助 通信失败 实时数据 记录数据");
    const Comparison comparisons[] = {
        {"bare", "a QMainWindow with one label in English", {}},
        {"bare zh",
         "the same with a label in the program's language, Chinese: its font is loaded too",
         {QStringLiteral("实时数据")}},
        {"alike",
         "a bare window of the program's size with the program's start-up texts",
         {texts, QString::number(size.width()), QString::number(size.height())}},
    };
    Series program;
    std::vector<Series> bare(std::size(comparisons));
    for (int i = 0; i < runs; ++i) {
        program.add(startOnce(brackenmoor, {}, x.display(), watch));
        for (size_t c = 0; c < bare.size(); ++c)
            bare[c].add(startOnce(plain, comparisons[c].arguments, x.display(), watch));
    }
    std::printf("%d starts each in one Xvfb, in turn; medians (goal: both ratios to a bare window <= 1.15)\n", runs);
    for (const Comparison& c : comparisons)
        std::printf("  %-8s %s\n", c.name, c.what);
    std::printf("%-34s %8s", "measure", "program");
    for (const Comparison& c : comparisons)
        std::printf(" %8s %6s", c.name, "ratio");
    std::printf("\n");
    const auto row = [&](const char* measure, std::vector<double> Series::*values) {
        const double p = median(program.*values);
        std::printf("%-34s %8.1f", measure, p);
        for (const Series& b : bare)
            std::printf(" %8.1f %6.2f", median(b.*values), p / median(b.*values));
        std::printf("\n");
    };
    row("spawn to mapped window (ms)", &Series::mapMs);
    row("resident memory once shown (MiB)", &Series::rssMiB);
    std::printf("program window %dx%d; starts without a mapped window: program %d", size.width(), size.height(),
                program.failed);
    for (size_t c = 0; c < bare.size(); ++c)
        std::printf(", %s %d", comparisons[c].name, bare[c].failed);
    std::printf("\nshared libraries once shown: program %lld, bare %lld\n", static_cast<long long>(program.libs.size()),
                static_cast<long long>(bare[0].libs.size()));
    printLibraries("loaded by the program, not by the bare window", (program.libs - bare[0].libs).values());
    return 0;
}
