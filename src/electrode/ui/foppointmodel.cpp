#include "electrode/ui/foppointmodel.h"

#include "electrode/ui/fopfigures.h"
#include "electrode/ui/fopsession.h"

#include <QLocale>

#include <cmath>

namespace bm::electrode {

FopPointModel::FopPointModel(FopSession& session, QObject* parent) : QAbstractTableModel(parent), session_(session)
{
    connect(&session_, &FopSession::changed, this, &FopPointModel::sessionChanged);
}

void FopPointModel::sessionChanged(bool rowsChanged)
{
    if (rowsChanged) {
        beginResetModel();
        endResetModel();
    } else if (rowCount() > 0) {
        // Only distances moved: keep the view's scroll position and selection.
        emit dataChanged(index(0, Distance), index(rowCount() - 1, Distance));
    }
}

int FopPointModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(session_.rows().size());
}

int FopPointModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant FopPointModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FopRow& r = session_.rows()[size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole && index.column() == Distance)
        return r.distance_m ? QString::number(*r.distance_m, 'g', 10)
                            : QString(); // a text: a line editor, no spin box limits
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Record: return r.record;
    case Distance: return r.distance_m ? fopNumber(r.distance_m) : QString();
    case Resistance: return fopNumber(r.resistance_ohm);
    default: return {};
    }
}

bool FopPointModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != Distance
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        session_.setDistance(index.row(), std::nullopt);
        return true;
    }
    // Either decimal separator, as the user's keyboard gives it.
    bool ok = false;
    double d = QLocale().toDouble(text, &ok);
    if (!ok)
        d = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(d) || !(d > 0.0))
        return false;
    session_.setDistance(index.row(), d);
    return true;
}

Qt::ItemFlags FopPointModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Distance)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant FopPointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Record: return tr("记录");
    case Distance: return tr("距离 x (m)");
    case Resistance: return tr("R (Ω)");
    default: return {};
    }
}

} // namespace bm::electrode
