#pragma once

#include <QAbstractTableModel>

namespace bm::electrode {

class FopSession;

// The session's rows as a list: record, the potential probe's distance (typed
// here; an empty cell leaves the reading out) and R.
class FopPointModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Record, Distance, Resistance, ColumnCount };

    explicit FopPointModel(FopSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void sessionChanged(bool rowsChanged);

    FopSession& session_;
};

} // namespace bm::electrode
