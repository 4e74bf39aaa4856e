#pragma once

#include "electrode/ui/fopexport.h"
#include "output/filesaver.h"

#include <QWidget>

#include <memory>

class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace bm {
class CommonDialog;
class RecordTable;
} // namespace bm

namespace bm::electrode {

class FopChart;
class FopPointModel;
class FopSession;

// The fall-of-potential analysis over the records table: the resistance records
// with their distances, the current-probe distance and the limits, the curve, the
// figures and the verdict, the report's fields and the two exports. It follows
// the table while shown, and catches up when shown again.
class FopWindow : public QWidget {
    Q_OBJECT
public:
    // Shows Qt's file dialog and message boxes over this window.
    explicit FopWindow(const RecordTable& table, QWidget* parent = nullptr);
    // Any dialog; it is not owned.
    FopWindow(const RecordTable& table, CommonDialog* dialog, QWidget* parent = nullptr);
    ~FopWindow() override;

    FopSession& session() { return *session_; }
    FopChart& chart() { return *chart_; }
    FopReportFields fields() const;
    void setSaveFolder(const QString& folder) { saver_.setFolder(folder); }

    void exportReport();
    void exportCsv();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildSide();
    QWidget* buildSettings();
    QWidget* buildFields();
    void applySettings();
    void showAnalysis();
    QString chooseFile(const QString& filter, const QString& defaultExt);

    std::unique_ptr<CommonDialog> ownDialog_;
    CommonDialog* dialog_;
    FileSaver saver_;
    FopSession* session_;
    FopPointModel* pointModel_;
    FopChart* chart_ = nullptr;
    QDoubleSpinBox* current_ = nullptr;
    QDoubleSpinBox* plateau_ = nullptr;
    QDoubleSpinBox* limit_ = nullptr;
    QDoubleSpinBox* first_ = nullptr;
    QDoubleSpinBox* step_ = nullptr;
    QLabel* figures_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLineEdit* site_ = nullptr;
    QLineEdit* operator_ = nullptr;
    QDateEdit* date_ = nullptr;
    QLineEdit* instrument_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

} // namespace bm::electrode
