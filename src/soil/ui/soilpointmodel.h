#pragma once

#include "soil/soilpoint.h"

#include <QAbstractTableModel>

namespace bm::soil {

class SoilSession;

// The session's points as a list: record (with the include check box), spacing, ρa,
// then the editable array, MN/2 and traverse. Ticking or clearing a box, or editing
// a point's layout, refits at once.
class SoilPointModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Record, Spacing, Rho, ArrayColumn, Mn2, Traverse, ColumnCount };
    // The names the array column shows, in the order of Array.
    static QString arrayName(Array array);

    explicit SoilPointModel(SoilSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void sessionChanged(bool pointsChanged);
    QVariant layoutData(const SoilPoint& p, int column, int role) const;
    bool setLayoutData(int row, int column, const QVariant& value);

    SoilSession& session_;
};

} // namespace bm::soil
