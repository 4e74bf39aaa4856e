#include "trend/trendstore.h"

#include "records/csvwriter.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <utility>

namespace bm {

TrendStore::TrendStore(size_t capacity)
{
    // Reserved, not filled: pages are only touched as samples arrive.
    ring_.reserve(std::max<size_t>(capacity, 1));
}

void TrendStore::add(const Measurement& m, qint64 msecs)
{
    if (paused_ || m.kind == Kind::None)
        return;
    TrendSample s{msecs,
                  m.kind,
                  std::exchange(resumed_, false),
                  m.mainValue.si(),
                  kNoValue,
                  kNoValue,
                  0,
                  m.mainValue,
                  m.rcValue,
                  m.rpValue,
                  m.spacingValue};
    if (m.kind != Kind::Voltage) {
        s.rc = m.rcValue.si();
        s.rp = m.rpValue.si();
    }
    const std::pair<TrendValue, const Quantity*> quantities[] = {
        {TrendValue::Main, &m.mainValue}, {TrendValue::Rc, &m.rcValue}, {TrendValue::Rp, &m.rpValue}};
    for (const auto& [v, q] : quantities) {
        if (q->overloaded() && (v == TrendValue::Main || m.kind != Kind::Voltage))
            s.overloads |= bitOf(v);
    }
    const bool newRun = size_ == 0 || at(size_ - 1).kind != s.kind;
    if (ring_.size() < ring_.capacity()) {
        ring_.push_back(s);
        ++size_;
    } else {
        // The oldest goes: every index moves down by one.
        ring_[head_] = s;
        head_ = (head_ + 1) % ring_.capacity();
        lastRunFirst_ = lastRunFirst_ > 0 ? lastRunFirst_ - 1 : 0;
    }
    if (newRun)
        lastRunFirst_ = size_ - 1;
}

void TrendStore::setPaused(bool paused)
{
    if (paused_ && !paused)
        resumed_ = true;
    paused_ = paused;
}

std::pair<std::span<const TrendSample>, std::span<const TrendSample>> TrendStore::slice(size_t first, size_t end) const
{
    end = std::min(end, size_);
    if (first >= end)
        return {};
    const size_t cap = ring_.capacity();
    const size_t begin = (head_ + first) % cap;
    const size_t count = end - first;
    const size_t straight = std::min(count, ring_.size() - begin);
    const std::span<const TrendSample> all(ring_);
    return {all.subspan(begin, straight), all.subspan(0, count - straight)};
}

std::vector<TrendRun> TrendStore::runs() const
{
    std::vector<TrendRun> out;
    for (size_t i = 0; i < size_; ++i) {
        const Kind kind = at(i).kind;
        if (out.empty() || out.back().kind != kind)
            out.push_back({kind, i, i});
        out.back().end = i + 1;
    }
    return out;
}

TrendRun TrendStore::lastRun() const
{
    if (size_ == 0)
        return {};
    return {at(size_ - 1).kind, lastRunFirst_, size_};
}

double valueOf(const TrendSample& s, TrendValue v)
{
    switch (v) {
    case TrendValue::Main: return s.main;
    case TrendValue::Rc: return s.rc;
    case TrendValue::Rp: return s.rp;
    }
    return kNoValue;
}

namespace {

// The lowest and highest point of one column, joined in time order.
struct Column {
    QPointF low{0, 0};
    QPointF high{0, 0};
    bool any = false;

    void take(const QPointF& p)
    {
        if (!any || p.y() < low.y())
            low = p;
        if (!any || p.y() > high.y())
            high = p;
        any = true;
    }
    void flushInto(TrendLine& line)
    {
        if (!any)
            return;
        const bool lowFirst = low.x() <= high.x();
        line.push_back(lowFirst ? low : high);
        if (low != high)
            line.push_back(lowFirst ? high : low);
        any = false;
    }
};

} // namespace

std::vector<TrendLine> trendLines(const TrendStore& store, const TrendRun& run, TrendValue value, int columns)
{
    std::vector<TrendLine> lines;
    if (run.empty())
        return lines;
    columns = std::max(columns, 1);
    const qint64 t0 = store.at(run.first).msecs;
    const double span = double(std::max<qint64>(store.at(run.end - 1).msecs - t0, 1));
    // Few enough points are drawn as they are: a column per point.
    const bool decimate = run.end - run.first > size_t(2 * columns);
    TrendLine line;
    Column column;
    int columnIndex = -1;
    const auto endLine = [&] {
        column.flushInto(line);
        if (!line.empty())
            lines.push_back(std::move(line));
        line = {};
    };
    int i = 0;
    bool missedSince = false; // an overload since the last drawn reading
    const auto take = [&](const TrendSample& s) {
        const double y = valueOf(s, value);
        if (s.breakBefore)
            endLine();
        if (!std::isfinite(y)) {
            // Drawn as they are, every overload is a gap; thinned, a gap is a
            // whole column without a reading, since a narrower one could not be seen.
            if (!decimate)
                endLine();
            missedSince = true;
            return;
        }
        const int c = decimate ? std::clamp(int(double(s.msecs - t0) / span * columns), 0, columns - 1) : i;
        if (decimate && missedSince && columnIndex >= 0 && c > columnIndex + 1)
            endLine();
        missedSince = false;
        if (c != columnIndex)
            column.flushInto(line);
        columnIndex = c;
        column.take(QPointF(double(s.msecs), y));
    };
    const auto [older, newer] = store.slice(run.first, run.end);
    for (const TrendSample& s : older)
        take(s), ++i;
    for (const TrendSample& s : newer)
        take(s), ++i;
    endLine();
    return lines;
}

std::pair<double, double> valueRange(const std::vector<TrendLine>& lines)
{
    double low = kNoValue;
    double high = kNoValue;
    for (const TrendLine& line : lines) {
        for (const QPointF& p : line) {
            low = std::isnan(low) ? p.y() : std::min(low, p.y());
            high = std::isnan(high) ? p.y() : std::max(high, p.y());
        }
    }
    return {low, high};
}

QByteArray trendCsv(const TrendStore& store)
{
    QByteArray out = QStringLiteral("time,kind,%1\n").arg(csvValueHeader()).toUtf8();
    out.reserve(int(store.size()) * 64);
    for (size_t i = 0; i < store.size(); ++i) {
        const TrendSample& s = store.at(i);
        Measurement m;
        m.kind = s.kind;
        m.mainValue = s.mainValue;
        m.rcValue = s.rcValue;
        m.rpValue = s.rpValue;
        m.spacingValue = s.spacingValue;
        out += (csvTime(QDateTime::fromMSecsSinceEpoch(s.msecs)) + QLatin1Char(',') + csvMeasurementFields(m)).toUtf8();
        out += '\n';
    }
    return out;
}

} // namespace bm
