#include "records/recordtable.h"

namespace bm {

namespace {

constexpr int kColNo = 0;
// The value columns follow the number in field order.
constexpr int kColFirstField = 1;
static_assert(kColFirstField + kFieldCount == RecordTable::kCols);

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
    rows_[0].cells = Cells{QStringLiteral("NO."),     QStringLiteral("V"),  QStringLiteral("R"), QStringLiteral("ρ"),
                           QStringLiteral("ρLenght"), QStringLiteral("Rc"), QStringLiteral("Rp")};
    endResetModel();
}

QString RecordTable::TextMatrix(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= kCols)
        return {};
    return rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(col)];
}

void RecordTable::setTextMatrix(int row, int col, const QString& text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= kCols)
        return;
    rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(col)] = text;
    // A hand-written cell no longer matches the decoded record behind it.
    if (row > 0)
        rows_[static_cast<size_t>(row)].measurement.reset();
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

void RecordTable::appendRecord(int k, const Measurement& m)
{
    if (k < 1 || k >= kMaxRows)
        return;
    setRows(k + 1);
    writeRecord(k, m);
}

void RecordTable::fillRecord(int k, const Measurement& m)
{
    if (k < 1 || k >= kMaxRows)
        return;
    if (Rows() < k + 1)
        setRows(k + 1);
    writeRecord(k, m);
}

void RecordTable::writeRecord(int k, const Measurement& m)
{
    // Every value cell is written, the unused ones empty, so a row never keeps
    // a value of an older record from an earlier download.
    Row& row = rows_[static_cast<size_t>(k)];
    row.cells[kColNo] = QString::number(k);
    const FieldTexts texts = fieldTexts(m);
    for (int f = 0; f < kFieldCount; ++f)
        row.cells[static_cast<size_t>(kColFirstField + f)] = texts[static_cast<size_t>(f)].value_or(QString());
    row.measurement = m;
    emit dataChanged(index(k - 1, 0), index(k - 1, kCols - 1), {Qt::DisplayRole});
}

const Measurement* RecordTable::record(int k) const
{
    if (k < 1 || k >= Rows() || !rows_[static_cast<size_t>(k)].measurement)
        return nullptr;
    return &*rows_[static_cast<size_t>(k)].measurement;
}

int RecordTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows() - 1; }

int RecordTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kCols; }

QVariant RecordTable::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole: return rows_[static_cast<size_t>(index.row() + 1)].cells[static_cast<size_t>(index.column())];
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant RecordTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < kCols) {
        if (role == Qt::DisplayRole)
            return rows_[0].cells[static_cast<size_t>(section)];
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace bm
