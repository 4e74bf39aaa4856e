#include "records/recordtable.h"

namespace bm {

namespace {

constexpr int kColNo = 0;
constexpr int kColV = 1;
constexpr int kColR = 2;
constexpr int kColRho = 3;
constexpr int kColSpacing = 4;
constexpr int kColRc = 5;
constexpr int kColRp = 6;

} // namespace

RecordTable::RecordTable(QObject* parent) : QAbstractTableModel(parent)
{
    // A full download never reallocates, so appends stay cheap and steady.
    rows_.reserve(kMaxRows);
    initgrid();
}

void RecordTable::initgrid()
{
    beginResetModel();
    rows_.assign(2, Row{});
    rows_[0] = Row{QStringLiteral("NO."), QStringLiteral("V"), QStringLiteral("R"), QStringLiteral("ρ"),
                   QStringLiteral("ρLenght"), QStringLiteral("Rc"), QStringLiteral("Rp")};
    endResetModel();
}

QString RecordTable::TextMatrix(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= kCols)
        return {};
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void RecordTable::setTextMatrix(int row, int col, const QString& text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= kCols)
        return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell);
    }
}

void RecordTable::setRows(int rows)
{
    rows = qBound(1, rows, kMaxRows);
    const int current = Rows();
    // Model rows are the data rows shifted by one: row 0 is the header.
    if (rows > current) {
        beginInsertRows({}, current - 1, rows - 2);
        rows_.resize(static_cast<size_t>(rows));
        endInsertRows();
    } else if (rows < current) {
        beginRemoveRows({}, rows - 1, current - 2);
        rows_.resize(static_cast<size_t>(rows));
        endRemoveRows();
    }
}

void RecordTable::appendRecord(int k, const protocol::Measurement& m)
{
    if (k < 1 || k >= kMaxRows)
        return;
    setRows(k + 1);

    // Every value cell is written, the unused ones empty, so a row never keeps
    // a value of an older record from an earlier download.
    Row& row = rows_[static_cast<size_t>(k)];
    row[kColNo] = QString::number(k);
    for (int c = kColV; c < kCols; ++c)
        row[static_cast<size_t>(c)].clear();
    using protocol::Kind;
    switch (m.kind) {
    case Kind::Voltage:
        row[kColV] = m.main;
        break;
    case Kind::Resistance:
        row[kColR] = m.main;
        row[kColRc] = m.rc;
        row[kColRp] = m.rp;
        break;
    case Kind::Resistivity:
        row[kColRho] = m.main;
        row[kColRc] = m.rc;
        row[kColRp] = m.rp;
        row[kColSpacing] = m.spacing;
        break;
    case Kind::None:
        break;
    }
    emit dataChanged(index(k - 1, 0), index(k - 1, kCols - 1), {Qt::DisplayRole});
}

int RecordTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows() - 1;
}

int RecordTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kCols;
}

QVariant RecordTable::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return rows_[static_cast<size_t>(index.row() + 1)][static_cast<size_t>(index.column())];
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant RecordTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < kCols) {
        if (role == Qt::DisplayRole)
            return rows_[0][static_cast<size_t>(section)];
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace bm
