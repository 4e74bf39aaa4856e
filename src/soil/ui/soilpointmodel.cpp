#include "soil/ui/soilpointmodel.h"

#include "soil/ui/soilfigures.h"
#include "soil/ui/soilsession.h"

#include <cmath>

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
        // Only boxes or layouts changed: keep the view's scroll position and selection.
        emit dataChanged(index(0, Record), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::CheckStateRole, Qt::DisplayRole});
    }
}

int SoilPointModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(session_.points().size());
}

int SoilPointModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant SoilPointModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RecordPoint& p = session_.points()[size_t(index.row())];
    if (role == Qt::CheckStateRole && index.column() == Record)
        return p.point.included ? Qt::Checked : Qt::Unchecked;
    if (index.column() >= ArrayColumn)
        return layoutData(p.point, index.column(), role);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Record: return p.record;
    case Spacing: return figure(p.point.spacing_m);
    case Rho: return figure(p.point.rho_ohm_m);
    default: return {};
    }
}

QString SoilPointModel::arrayName(Array array) { return array == Array::Wenner ? tr("温纳") : tr("施伦贝格"); }

QVariant SoilPointModel::layoutData(const SoilPoint& p, int column, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int((column == Mn2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role == Qt::EditRole)
        return column == ArrayColumn ? QVariant(int(p.array))
               : column == Mn2       ? QVariant(p.mn2_m)
                                     : QVariant(p.traverse);
    if (role != Qt::DisplayRole)
        return {};
    if (column == ArrayColumn)
        return arrayName(p.array);
    if (column == Mn2)
        return p.array == Array::Schlumberger ? figure(p.mn2_m) : QString();
    return p.traverse;
}

bool SoilPointModel::setLayoutData(int row, int column, const QVariant& value)
{
    const SoilPoint& p = session_.points()[size_t(row)].point;
    Array array = p.array;
    double mn2 = p.mn2_m;
    QString traverse = p.traverse;
    bool ok = true;
    if (column == ArrayColumn) {
        const int chosen = value.toInt(&ok);
        ok = ok && (chosen == int(Array::Wenner) || chosen == int(Array::Schlumberger));
        array = Array(chosen);
    } else if (column == Mn2) {
        mn2 = value.toDouble(&ok);
        ok = ok && std::isfinite(mn2) && mn2 > 0.0;
    } else {
        traverse = value.toString().trimmed();
    }
    return ok && session_.setLayout(row, array, mn2, traverse);
}

bool SoilPointModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role == Qt::EditRole && index.column() >= ArrayColumn
        && checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return setLayoutData(index.row(), index.column(), value);
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
    if (index.column() >= ArrayColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant SoilPointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Record: return tr("计入 / 记录");
    case Spacing: return tr("间距 a (m)");
    case Rho: return tr("ρa (Ω·m)");
    case ArrayColumn: return tr("排列");
    case Mn2: return tr("MN/2 (m)");
    case Traverse: return tr("测线");
    default: return {};
    }
}

} // namespace bm::soil
