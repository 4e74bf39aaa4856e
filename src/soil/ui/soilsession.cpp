#include "soil/ui/soilsession.h"

#include "records/recordtable.h"

namespace bm::soil {

SoilSession::SoilSession(const RecordTable& table, QObject* parent) : QObject(parent), table_(table)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &SoilSession::refresh);
    connect(&table_, &QAbstractItemModel::modelReset, this, &SoilSession::tableChanged);
    connect(&table_, &QAbstractItemModel::rowsInserted, this, &SoilSession::tableChanged);
    connect(&table_, &QAbstractItemModel::rowsRemoved, this, &SoilSession::tableChanged);
    connect(&table_, &QAbstractItemModel::dataChanged, this, &SoilSession::tableChanged);
    refresh();
}

SoilSession::PointKey SoilSession::keyOf(const RecordPoint& p)
{
    return {p.record, p.point.spacing_m, p.recordRho_ohm_m};
}

void SoilSession::tableChanged()
{
    stale_ = true;
    // Not restarted by each change: a steady download still refreshes every moment.
    if (!paused_ && !settle_.isActive())
        settle_.start();
}

void SoilSession::setPaused(bool paused)
{
    paused_ = paused;
    if (paused)
        settle_.stop();
    else if (stale_)
        refresh();
}

void SoilSession::refresh()
{
    settle_.stop();
    stale_ = false;
    ++refreshes_;
    points_ = recordPoints(table_);
    for (RecordPoint& p : points_) {
        p.point.included = !excluded_.count(keyOf(p));
        if (const auto layout = layouts_.find(keyOf(p)); layout != layouts_.end())
            soil::setLayout(p, layout->second.array, layout->second.mn2_m, layout->second.traverse);
    }
    refit();
    emit changed(true);
}

void SoilSession::setIncluded(int index, bool included)
{
    if (index < 0 || index >= int(points_.size()) || points_[size_t(index)].point.included == included)
        return;
    RecordPoint& p = points_[size_t(index)];
    p.point.included = included;
    if (included)
        excluded_.erase(keyOf(p));
    else
        excluded_.insert(keyOf(p));
    refit();
    emit changed(false);
}

bool SoilSession::setLayout(int index, Array array, double mn2_m, const QString& traverse)
{
    if (index < 0 || index >= int(points_.size()) || !validTraverse(traverse))
        return false;
    RecordPoint& p = points_[size_t(index)];
    soil::setLayout(p, array, mn2_m, traverse);
    layouts_[keyOf(p)] = {array, mn2_m, traverse};
    refit();
    emit changed(false);
    return true;
}

void SoilSession::refit() { analysis_ = analyse(plainPoints(points_)); }

} // namespace bm::soil
