#pragma once

#include "model/measurement.h"

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <limits>
#include <span>
#include <utility>
#include <vector>

// The live trend as values: the readings in a ring of fixed size, the series
// they form, and what the chart and the export make of them. No widgets here.
namespace bm {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct TrendSample {
    qint64 msecs = 0; // since the epoch
    Kind kind = Kind::None;
    bool breakBefore = false; // not joined to the sample before it (a pause lies between)
    // SI units; NaN for an overload (a gap) or a value the kind does not measure.
    double main = kNoValue;
    double rc = kNoValue;
    double rp = kNoValue;
    quint8 overloads = 0; // bit TrendValue: the tester said the value is over its range
    // As the tester sent them, for the export's exact numbers.
    Quantity mainValue, rcValue, rpValue, spacingValue;
};

enum class TrendValue { Main, Rc, Rp };
constexpr quint8 bitOf(TrendValue v) { return quint8(1u << int(v)); }

// Consecutive samples of one kind: one series of the chart. Indexes as TrendStore::at().
struct TrendRun {
    Kind kind = Kind::None;
    size_t first = 0;
    size_t end = 0;
    bool empty() const { return first == end; }
};

// The readings since the window opened. Memory is bounded: once full, each new
// sample replaces the oldest (24 hours at one reading a second by default).
class TrendStore {
public:
    static constexpr size_t kCapacity = 86400;

    explicit TrendStore(size_t capacity = kCapacity);

    // Ignored while paused, and for a measurement of no kind.
    void add(const Measurement& m, qint64 msecs);
    // While paused nothing is taken; the line does not bridge the pause.
    void setPaused(bool paused);
    bool paused() const { return paused_; }

    size_t size() const { return size_; }
    size_t capacity() const { return ring_.capacity(); }
    // 0 is the oldest.
    const TrendSample& at(size_t i) const { return ring_[(head_ + i) % ring_.capacity()]; }
    // Samples first..end - 1 as they lie in memory: one or two stretches.
    std::pair<std::span<const TrendSample>, std::span<const TrendSample>> slice(size_t first, size_t end) const;

    // A change of kind starts a new run.
    std::vector<TrendRun> runs() const;
    TrendRun lastRun() const;

private:
    std::vector<TrendSample> ring_;
    size_t head_ = 0;
    size_t size_ = 0;
    size_t lastRunFirst_ = 0;
    bool paused_ = false;
    bool resumed_ = false;
};

double valueOf(const TrendSample& s, TrendValue v);

// One value of a run as line pieces (x: msecs, y: value) for a plot `columns`
// wide: at most the lowest and highest point per column, and a new piece after
// each gap, so drawing costs the same for a minute and for a day.
using TrendLine = std::vector<QPointF>;
std::vector<TrendLine> trendLines(const TrendStore& store, const TrendRun& run, TrendValue value, int columns);

// The lowest and highest y of the lines, or a NaN pair when they have no point.
std::pair<double, double> valueRange(const std::vector<TrendLine>& lines);

// Every sample as UTF-8 CSV, LF line ends: "time,kind," and the value columns
// of every CSV of the program, the time as they all write it.
QByteArray trendCsv(const TrendStore& store);

} // namespace bm
