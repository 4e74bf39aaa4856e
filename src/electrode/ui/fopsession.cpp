#include "electrode/ui/fopsession.h"

#include "records/recordtable.h"

namespace bm::electrode {

namespace {

// Every stored resistance reading the tester could measure, in record order.
std::vector<FopRow> resistanceRows(const RecordTable& table)
{
    std::vector<FopRow> out;
    for (int k = 1; k < table.Rows(); ++k) {
        const Measurement* m = table.record(k);
        if (!m || m->kind != Kind::Resistance || m->mainValue.overloaded())
            continue;
        if (const double r = m->mainValue.si(); r > 0.0)
            out.push_back({k, r, std::nullopt});
    }
    return out;
}

} // namespace

FopSession::FopSession(const RecordTable& table, QObject* parent) : QObject(parent), table_(table)
{
    settings_.currentDistance_m = 100.0;
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &FopSession::refresh);
    connect(&table_, &QAbstractItemModel::modelReset, this, &FopSession::tableChanged);
    connect(&table_, &QAbstractItemModel::rowsInserted, this, &FopSession::tableChanged);
    connect(&table_, &QAbstractItemModel::rowsRemoved, this, &FopSession::tableChanged);
    connect(&table_, &QAbstractItemModel::dataChanged, this, &FopSession::tableChanged);
    refresh();
}

std::vector<FopPoint> FopSession::points() const
{
    std::vector<FopPoint> out;
    for (const FopRow& r : rows_)
        if (r.distance_m)
            out.push_back({*r.distance_m, r.resistance_ohm});
    return out;
}

void FopSession::tableChanged()
{
    stale_ = true;
    if (!paused_ && !settle_.isActive())
        settle_.start();
}

void FopSession::setPaused(bool paused)
{
    paused_ = paused;
    if (paused)
        settle_.stop();
    else if (stale_)
        refresh();
}

void FopSession::refresh()
{
    settle_.stop();
    stale_ = false;
    rows_ = resistanceRows(table_);
    for (FopRow& r : rows_)
        if (const auto d = distances_.find({r.record, r.resistance_ohm}); d != distances_.end())
            r.distance_m = d->second;
    reanalyse(true);
}

void FopSession::setDistance(int index, std::optional<double> distance_m)
{
    if (index < 0 || index >= int(rows_.size()))
        return;
    FopRow& r = rows_[size_t(index)];
    r.distance_m = distance_m;
    if (distance_m)
        distances_[{r.record, r.resistance_ohm}] = *distance_m;
    else
        distances_.erase({r.record, r.resistance_ohm});
    reanalyse(false);
}

void FopSession::fillDistances(double first_m, double step_m)
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        FopRow& r = rows_[i];
        r.distance_m = first_m + step_m * double(i);
        distances_[{r.record, r.resistance_ohm}] = *r.distance_m;
    }
    reanalyse(false);
}

void FopSession::setSettings(const FopSettings& settings)
{
    settings_ = settings;
    reanalyse(false);
}

void FopSession::reanalyse(bool rowsChanged)
{
    analysis_ = analyseFallOfPotential(points(), settings_);
    emit changed(rowsChanged);
}

} // namespace bm::electrode
