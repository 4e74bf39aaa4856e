#pragma once

#include <QAbstractTableModel>

namespace bm::soil {

class SoilSession;

// The session's points as a list: record (with the include check box), spacing, ρa.
// Ticking or clearing a box refits at once.
class SoilPointModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Record, Spacing, Rho, ColumnCount };

    explicit SoilPointModel(SoilSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void sessionChanged(bool pointsChanged);

    SoilSession& session_;
};

} // namespace bm::soil
