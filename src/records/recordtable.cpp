#include "records/recordtable.h"

namespace bm {

RecordTable::RecordTable(QObject* parent) : QAbstractTableModel(parent) { initgrid(); }
void RecordTable::initgrid() { beginResetModel(); rows_.assign(2, Row{}); endResetModel(); }
QString RecordTable::TextMatrix(int, int) const { return {}; }
void RecordTable::setTextMatrix(int, int, const QString&) {}
void RecordTable::setRows(int) {}
void RecordTable::appendRecord(int, const protocol::Measurement&) {}
int RecordTable::rowCount(const QModelIndex&) const { return Rows() - 1; }
int RecordTable::columnCount(const QModelIndex&) const { return kCols; }
QVariant RecordTable::data(const QModelIndex&, int) const { return {}; }
QVariant RecordTable::headerData(int, Qt::Orientation, int) const { return {}; }

} // namespace bm
