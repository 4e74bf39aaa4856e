// Soak: the real window against the simulated tester for a set time, with live
// polling, a download of 200 records every minute (each checked against the
// tester's own records), the tabs switched, the trend and soil windows open and
// the cable pulled and replugged every five minutes. Every 10 s it samples
// resident memory, open descriptors and threads; after a warm-up a straight
// line fitted to the resident memory gives its growth. Printed; the exit status
// only says whether records were lost or the link failed to come back, as the
// memory figures of a short run are noisy.
#include "memory.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "link/protocol.h"
#include "records/recordtable.h"
#include "trend/trendstore.h"
#include "simtester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <dirent.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr int kRecords = 200;
constexpr int kSampleMs = 10000;
constexpr int kDownloadEveryMs = 60000;
constexpr int kFirstDownloadMs = 5000;
constexpr int kPullEvery = 5; // downloads between cable pulls
constexpr int kPullAfter = 2; // the first pull follows this download
constexpr int kWatchMs = 250;
constexpr qint64 kFirstLinkMs = 30000;
constexpr qint64 kDownloadDeadlineMs = 180000;
constexpr qint64 kLossDeadlineMs = 30000;
constexpr qint64 kReplugAfterLossMs = 2000;
constexpr qint64 kRelinkDeadlineMs = 60000;

struct Options {
    double minutes = 10;
    QString samplesFile;
};

const char kUsage[] = "usage: bench_soak [--minutes X] [--samples FILE]\n"
                      "  --minutes X     how long to run, fractions allowed (default 10)\n"
                      "  --samples FILE  write every sample as CSV: seconds,rss_mib,fds,threads\n"
                      "Other options (meant for the other benchmarks) are ignored.\n"
                      "Exit status: 0 done, 1 a record lost or wrong, a download that never ended\n"
                      "or a tester not found again, 2 bad usage.\n";

// Null after printing why, for bad usage; unknown options belong to other benchmarks.
std::optional<Options> parseOptions(const QStringList& args, bool* help)
{
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            *help = true;
            return o;
        }
        const bool minutes = a == QLatin1String("--minutes");
        if (!minutes && a != QLatin1String("--samples"))
            continue;
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "%s needs a value\n%s", qPrintable(a), kUsage);
            return std::nullopt;
        }
        const QString value = args.at(++i);
        if (!minutes) {
            o.samplesFile = value;
            continue;
        }
        bool ok = false;
        o.minutes = value.toDouble(&ok);
        if (!ok || !(o.minutes > 0)) {
            std::fprintf(stderr, "--minutes wants a positive number, not \"%s\"\n%s", qPrintable(value), kUsage);
            return std::nullopt;
        }
    }
    return o;
}

// Entries of a /proc folder, without the descriptor that reads it.
int countEntries(const char* path, bool ownDescriptor)
{
    DIR* dir = ::opendir(path);
    if (!dir)
        return -1;
    int n = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            ++n;
    }
    ::closedir(dir);
    return ownDescriptor ? n - 1 : n;
}

// The heap in use by glibc's own count, in MiB: resident memory that grows
// while this stays flat is memory the allocator keeps, not a leak. -1 where
// there is no such count, or the sanitizer's allocator stands in for it.
double heapInUseMiB()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    return double(mallinfo2().uordblks) / 1048576.0;
#else
    return -1;
#endif
}

struct Sample {
    double seconds = 0;
    double rssMiB = 0;
    int fds = 0;
    int threads = 0;
    double heapMiB = -1;
};

Sample takeSample(double seconds)
{
    return {seconds, residentMiB(), countEntries("/proc/self/fd", true), countEntries("/proc/self/task", false),
            heapInUseMiB()};
}

// Least-squares slope of y against x; 0 with fewer than two points.
double slope(const std::vector<double>& x, const std::vector<double>& y)
{
    const double n = double(x.size());
    if (x.size() < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    const double d = n * sxx - sx * sx;
    return d > 0 ? (n * sxy - sx * sy) / d : 0;
}

// MiB per hour after the warm-up, by least squares.
double growthPerHour(const std::vector<Sample>& after, double (*field)(const Sample&))
{
    std::vector<double> x, y;
    for (const Sample& s : after) {
        x.push_back(s.seconds / 3600.0);
        y.push_back(field(s));
    }
    return slope(x, y);
}

QString minutesSeconds(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// The offscreen platform says what it cannot do each time a side window is
// raised or resized: hundreds of lines an hour that would bury the run's own.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// The windows that stay open for the whole run.
void openSideWindows(bm::MainWindow& window)
{
    // From the module the program loads them from, as it does.
    window.setLateWindows(bm::lateWindowsModule({QStringLiteral(BRACKENMOOR_LATE_DIR)}));
    window.showTrend();
    window.showSoilAnalysis();
}

// The tester's own records as the table shows them, to check each download against.
void fillExpected(bm::RecordTable& expected, const bm::SimTester& sim)
{
    for (int k = 1; k <= sim.recordCount(); ++k)
        expected.appendRecord(k, *bm::protocol::decodeMeasurement(sim.recordBytes(k)));
}

struct RowCheck {
    int lost = 0;
    int wrong = 0;
};

RowCheck compareRows(const bm::RecordTable& got, const bm::RecordTable& expected)
{
    RowCheck c;
    const int count = expected.Rows() - 1;
    for (int k = 1; k <= count; ++k) {
        if (got.TextMatrix(k, 0).isEmpty()) {
            ++c.lost;
            continue;
        }
        for (int col = 0; col < bm::RecordTable::kCols; ++col) {
            if (got.TextMatrix(k, col) != expected.TextMatrix(k, col)) {
                ++c.wrong;
                break;
            }
        }
    }
    c.wrong += std::max(0, got.Rows() - 1 - count); // rows the tester never held
    return c;
}

struct Tally {
    int downloads = 0; // ended and checked
    int lost = 0;
    int wrong = 0;
    int pulls = 0;
    int pullsUnnoticed = 0; // the link never said the tester was gone
    int relinks = 0;
    qint64 longestRelinkMs = 0;
    qint64 liveReadings = 0;
    QString failure; // why the run stopped early
};

// Runs the schedule in the event loop; QCoreApplication::exit() once done.
class Soak : public QObject {
public:
    Soak(bm::SimTester& sim, bm::MainWindow& window, qint64 runMs, QTextStream* csv)
        : sim_(sim), window_(window), runMs_(runMs), csv_(csv)
    {
        fillExpected(expected_, sim_);
        tabs_ = window_.findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
        connect(&sim_, &bm::SimTester::requestReceived, this, [this](quint16 code) {
            if (code == quint16(bm::protocol::kReading))
                ++tally_.liveReadings;
        });
        connect(&watch_, &QTimer::timeout, this, &Soak::watch);
        connect(&sampler_, &QTimer::timeout, this, &Soak::sample);
        connect(&downloads_, &QTimer::timeout, this, &Soak::downloadDue);
    }

    void start()
    {
        clock_.start();
        sample();
        sampler_.start(kSampleMs);
        watch_.start(kWatchMs);
        QTimer::singleShot(runMs_, this, [this] {
            timeUp_ = true;
            if (phase_ == Phase::Live)
                finish();
        });
    }

    const Tally& tally() const { return tally_; }
    const std::vector<Sample>& samples() const { return samples_; }
    double runSeconds() const { return double(runMs_) / 1000.0; }

private:
    enum class Phase { FirstLink, Live, Downloading, Unplugged, Relinking, Done };

    void selectTab(int index)
    {
        if (tabs_)
            tabs_->setCurrentIndex(index);
        else
            window_.tabSelected(index);
    }

    void sample()
    {
        const Sample s = takeSample(double(clock_.elapsed()) / 1000.0);
        samples_.push_back(s);
        if (csv_) {
            *csv_ << s.seconds << ',' << s.rssMiB << ',' << s.fds << ',' << s.threads << '\n';
            csv_->flush();
        }
    }

    void watch()
    {
        switch (phase_) {
        case Phase::FirstLink: return watchFirstLink();
        case Phase::Downloading: return watchDownload();
        case Phase::Unplugged: return watchUnplugged();
        case Phase::Relinking: return watchRelink();
        case Phase::Live:
        case Phase::Done: return;
        }
    }

    void watchFirstLink()
    {
        if (window_.link().comok()) {
            phase_ = Phase::Live;
            QTimer::singleShot(kFirstDownloadMs, this, &Soak::downloadDue);
            downloads_.start(kDownloadEveryMs);
        } else if (clock_.elapsed() > kFirstLinkMs) {
            finish(QStringLiteral("the window never found the tester"));
        }
    }

    // Waits for the step under way (a download, a pulled cable) to end.
    void downloadDue()
    {
        downloadDue_ = true;
        if (phase_ == Phase::Live)
            next();
    }

    // Starts what is due once the last step is over.
    void next()
    {
        phase_ = Phase::Live;
        if (timeUp_)
            return finish();
        if (downloadDue_ && window_.link().comok())
            startDownload();
    }

    void startDownload()
    {
        downloadDue_ = false;
        selectTab(1);
        window_.clearTable();
        window_.readRecords();
        if (window_.link().state() != bm::LinkState::Downloading)
            return finish(QStringLiteral("a download did not start"));
        phase_ = Phase::Downloading;
        phaseClock_.start();
    }

    void watchDownload()
    {
        const bm::LinkState state = window_.link().state();
        if (state == bm::LinkState::Downloading || state == bm::LinkState::Repairing) {
            if (phaseClock_.elapsed() > kDownloadDeadlineMs)
                finish(QStringLiteral("a download did not end within %1 s").arg(kDownloadDeadlineMs / 1000));
            return;
        }
        const RowCheck c = compareRows(window_.table(), expected_);
        ++tally_.downloads;
        tally_.lost += c.lost;
        tally_.wrong += c.wrong;
        std::fprintf(stderr, "%6s download %d: %d lost, %d wrong, %.1f s\n",
                     qPrintable(minutesSeconds(clock_.elapsed())), tally_.downloads, c.lost, c.wrong,
                     double(phaseClock_.elapsed()) / 1000.0);
        sim_.clearRequests(); // the simulator's log of requests would grow for ever
        selectTab(0);
        if (tally_.downloads % kPullEvery == kPullAfter % kPullEvery)
            return pullCable();
        next();
    }

    void pullCable()
    {
        ++tally_.pulls;
        sim_.vanish();
        phase_ = Phase::Unplugged;
        phaseClock_.start();
        lostAtMs_ = -1;
    }

    // The cable goes back a little after the link has noticed it gone.
    void watchUnplugged()
    {
        if (lostAtMs_ < 0 && !window_.link().comok())
            lostAtMs_ = phaseClock_.elapsed();
        const bool noticed = lostAtMs_ >= 0 && phaseClock_.elapsed() >= lostAtMs_ + kReplugAfterLossMs;
        const bool gaveUp = phaseClock_.elapsed() > kLossDeadlineMs;
        if (!noticed && !gaveUp)
            return;
        if (!noticed)
            ++tally_.pullsUnnoticed;
        if (!sim_.reappear())
            return finish(QStringLiteral("the simulated tester could not come back: ") + sim_.errorString());
        phase_ = Phase::Relinking;
        phaseClock_.start();
    }

    void watchRelink()
    {
        if (window_.link().comok()) {
            ++tally_.relinks;
            tally_.longestRelinkMs = std::max(tally_.longestRelinkMs, phaseClock_.elapsed());
            std::fprintf(stderr, "%6s cable pulled: link lost %s, found again %.1f s after replugging\n",
                         qPrintable(minutesSeconds(clock_.elapsed())),
                         lostAtMs_ < 0 ? "never"
                                       : qPrintable(QStringLiteral("after %1 s").arg(lostAtMs_ / 1000.0, 0, 'f', 1)),
                         double(phaseClock_.elapsed()) / 1000.0);
            return next();
        }
        if (phaseClock_.elapsed() > kRelinkDeadlineMs)
            finish(QStringLiteral("the tester was not found again within %1 s of replugging")
                       .arg(kRelinkDeadlineMs / 1000));
    }

    void finish(const QString& failure = {})
    {
        if (phase_ == Phase::Done)
            return;
        phase_ = Phase::Done;
        tally_.failure = failure;
        for (QTimer* t : {&watch_, &sampler_, &downloads_})
            t->stop();
        sample(); // the closing state, with nothing under way
        QCoreApplication::exit(0);
    }

    bm::SimTester& sim_;
    bm::MainWindow& window_;
    const qint64 runMs_;
    QTextStream* csv_;
    QTabWidget* tabs_ = nullptr;
    bm::RecordTable expected_;
    QElapsedTimer clock_;
    QElapsedTimer phaseClock_;
    QTimer watch_;
    QTimer sampler_;
    QTimer downloads_;
    Phase phase_ = Phase::FirstLink;
    bool downloadDue_ = false;
    bool timeUp_ = false;
    qint64 lostAtMs_ = -1;
    Tally tally_;
    std::vector<Sample> samples_;
};

// min and max of one field of the samples.
template <typename F>
std::pair<double, double> range(const std::vector<Sample>& s, F field)
{
    const auto [lo, hi] =
        std::minmax_element(s.begin(), s.end(), [&](const Sample& a, const Sample& b) { return field(a) < field(b); });
    return {field(*lo), field(*hi)};
}

// Peaks, not single samples, are compared: a sample taken while the cable is
// out finds the port closed.
void printCount(const char* what, const std::vector<Sample>& after, int (*field)(const Sample&))
{
    const auto half = after.begin() + qsizetype(after.size() / 2);
    const auto [lo, hi] = range(after, field);
    const double early = range(std::vector<Sample>(after.begin(), half), field).second;
    const double late = range(std::vector<Sample>(half, after.end()), field).second;
    std::printf("  %-34s min %.0f, max %.0f; peak %.0f in the first half, %.0f in the second: %s\n", what, lo, hi,
                early, late, late > early ? "GREW" : "no growth");
}

bool printSummary(const Soak& soak)
{
    const Tally& t = soak.tally();
    const std::vector<Sample>& all = soak.samples();
    const double warmUp = soak.runSeconds() / 6.0;
    std::vector<Sample> after;
    std::copy_if(all.begin(), all.end(), std::back_inserter(after),
                 [&](const Sample& s) { return s.seconds >= warmUp; });
    const double ranSeconds = all.back().seconds;
    const auto rss = [](const Sample& s) { return s.rssMiB; };

    std::printf("Soak of the window against the simulated tester: %.1f minutes\n", ranSeconds / 60.0);
    std::printf("  %-34s %zu, every %d s; the first %.0f s are warm-up (%zu after it)\n", "samples", all.size(),
                kSampleMs / 1000, warmUp, after.size());
    const auto [rssLo, rssHi] = range(all, rss);
    std::printf("  %-34s first %.1f, last %.1f, min %.1f, max %.1f\n", "resident memory (MiB)", all.front().rssMiB,
                all.back().rssMiB, rssLo, rssHi);
    if (after.size() >= 3) {
        const double growth = growthPerHour(after, rss);
        std::printf("  %-34s %.2f MiB per hour (goal < 1): %s\n", "resident growth after warm-up", growth,
                    growth < 1.0 ? "met" : "NOT MET");
        if (after.front().heapMiB >= 0)
            std::printf("  %-34s %.2f MiB per hour (%.1f MiB at the end)\n", "  heap in use (glibc's count)",
                        growthPerHour(after, [](const Sample& s) { return s.heapMiB; }), after.back().heapMiB);
        else
            std::printf("  %-34s %s\n", "", "(a sanitizer build: its quarantine and shadow memory are in these)");
        const double hours = ranSeconds / 3600.0;
        const double trendShare = double(t.liveReadings) / hours * double(sizeof(bm::TrendSample)) / 1048576.0;
        std::printf("  %-34s about %.2f MiB per hour of it, by design\n", "  the trend's day of readings", trendShare);
        printCount("open descriptors after warm-up", after, [](const Sample& s) { return s.fds; });
        printCount("threads after warm-up", after, [](const Sample& s) { return s.threads; });
    } else {
        std::printf("  %-34s too few samples after warm-up to fit a line\n", "resident growth");
    }
    std::printf("  %-34s %d ended, %d records lost, %d wrong (goal 0)\n", "downloads of 200 records", t.downloads,
                t.lost, t.wrong);
    std::printf("  %-34s %d, found again %d (longest %.1f s after replugging)%s\n", "cable pulls", t.pulls, t.relinks,
                double(t.longestRelinkMs) / 1000.0,
                t.pullsUnnoticed ? qPrintable(QStringLiteral(", %1 unnoticed").arg(t.pullsUnnoticed)) : "");
    std::printf("  %-34s %lld\n", "live readings answered", static_cast<long long>(t.liveReadings));
    if (!t.failure.isEmpty())
        std::printf("  STOPPED EARLY: %s\n", qPrintable(t.failure));
    const bool ok = t.failure.isEmpty() && t.lost == 0 && t.wrong == 0;
    std::printf("Result: %s\n", ok ? "no record lost, the link always came back" : "FAILED");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    const QString tester = dir.filePath(QStringLiteral("tester"));
    qputenv("BRACKENMOOR_PORTS", tester.toLocal8Bit()); // COM1 is the tester, nothing else exists

    qInstallMessageHandler(dropPlatformNotes);
    QApplication app(argc, argv);
    bool help = false;
    const std::optional<Options> options = parseOptions(QCoreApplication::arguments(), &help);
    if (help) {
        std::printf("%s", kUsage);
        return 0;
    }
    if (!options)
        return 2;

    QFile samplesFile(options->samplesFile);
    std::optional<QTextStream> csv;
    if (!options->samplesFile.isEmpty()) {
        if (!samplesFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(options->samplesFile), qPrintable(samplesFile.errorString()));
            return 2;
        }
        csv.emplace(&samplesFile);
        *csv << "seconds,rss_mib,fds,threads\n";
    }

    bm::SimTester sim;
    sim.setLinkPath(tester);
    sim.generateRecords(kRecords, 7); // resistance, resistivity and voltage records
    sim.setVary(true);
    sim.setWirePacing(true);
    if (!sim.start()) {
        std::fprintf(stderr, "simulated tester: %s\n", qPrintable(sim.errorString()));
        return 1;
    }

    bm::MainWindow window;
    window.setEndProgram([] {});
    window.show();
    openSideWindows(window);

    Soak soak(sim, window, qint64(options->minutes * 60000.0), csv ? &*csv : nullptr);
    soak.start();
    app.exec();
    window.close();
    return printSummary(soak) ? 0 : 1;
}
