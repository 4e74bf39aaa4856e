#pragma once

#include "model/measurement.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace bm {

// The records table: row 0 holds the seven headers, row k holds stored record k.
// Each stored row keeps its typed measurement beside its cell texts, so nothing
// downstream parses a text back into a value. Qt views see the data rows
// (Rows() - 1 of them) with row 0 as the horizontal header.
class RecordTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kCols = 7;
    static constexpr int kMaxRows = kMaxRecord + 1;
    static constexpr int kColWidth = 1160; // twips
    static constexpr int kRowHeight = 300; // twips

    explicit RecordTable(QObject* parent = nullptr);

    // Back to the header row and one blank row 1.
    void initgrid();

    int Rows() const { return static_cast<int>(rows_.size()); }
    int Cols() const { return kCols; }
    // Empty for a cell outside the table.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Keeps the cells of the rows that remain, adds empty rows. Clamped to
    // 1..kMaxRows: the header row always stays.
    void setRows(int rows);
    // Every row and column has the same size.

    // Record k into row k: the table gets exactly k + 1 rows, column 0 the number,
    // and the value cells of the kind. Value cells the kind does not fill are emptied.
    // k outside 1..kMaxRows - 1 is ignored.
    void appendRecord(int k, const Measurement& m);
    // The same, but the table only ever grows: a record asked for again after
    // the download must not cut off the rows after it.
    void fillRecord(int k, const Measurement& m);
    // The measurement stored in row k, or null when row k holds none.
    const Measurement* record(int k) const;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void writeRecord(int k, const Measurement& m);

    using Cells = std::array<QString, kCols>;
    struct Row {
        Cells cells;
        std::optional<Measurement> measurement;
    };
    std::vector<Row> rows_;
};

} // namespace bm
