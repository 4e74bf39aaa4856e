#include "soil/ui/soilpointmodel.h"

#include "soil/ui/soilfigures.h"
#include "soil/ui/soilsession.h"

namespace bm::soil {

SoilPointModel::SoilPointModel(SoilSession& session, QObject* parent) : QAbstractTableModel(parent), session_(session)
{
    connect(&session_, &SoilSession::changed, this, &SoilPointModel::sessionChanged);
}

void SoilPointModel::sessionChanged(bool pointsChanged)
{
    if (pointsChanged) {
        beginResetModel();
        endResetModel();
    } else if (rowCount() > 0) {
        // Only check boxes moved: keep the view's scroll position and selection.
        emit dataChanged(index(0, Record), index(rowCount() - 1, Record), {Qt::CheckStateRole});
    }
}

int SoilPointModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(session_.points().size());
}

int SoilPointModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SoilPointModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RecordPoint& p = session_.points()[size_t(index.row())];
    if (role == Qt::CheckStateRole && index.column() == Record)
        return p.point.included ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Record:
        return p.record;
    case Spacing:
        return figure(p.point.spacing_m);
    case Rho:
        return figure(p.point.rho_ohm_m);
    default:
        return {};
    }
}

bool SoilPointModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != Record
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    session_.setIncluded(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags SoilPointModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Record)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant SoilPointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Record:
        return tr("计入 / 记录");
    case Spacing:
        return tr("间距 a (m)");
    case Rho:
        return tr("ρa (Ω·m)");
    default:
        return {};
    }
}

} // namespace bm::soil
