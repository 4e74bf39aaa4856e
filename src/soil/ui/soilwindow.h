#pragma once

#include "output/filesaver.h"

#include "soil/ui/soilexport.h"

#include <QWidget>

#include <memory>

class QChartView;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTableView;

namespace bm {
class CommonDialog;
class RecordTable;
} // namespace bm

namespace bm::design {
class DesignPanel;
}

namespace bm::soil {

class SoilChart;
class SoilPointModel;
class SoilSession;

// The soil analysis over the records table: the sounding plot, the points with
// their include boxes, both models, the report's fields and the two exports.
// It follows the table while shown, and catches up when shown again.
class SoilWindow : public QWidget {
    Q_OBJECT
public:
    // Shows Qt's file dialog and message boxes over this window.
    explicit SoilWindow(const RecordTable& table, QWidget* parent = nullptr);
    // Any dialog; it is not owned.
    SoilWindow(const RecordTable& table, CommonDialog* dialog, QWidget* parent = nullptr);
    ~SoilWindow() override;

    SoilSession& session() { return *session_; }
    SoilChart& chart() { return *chart_; }
    design::DesignPanel& designPanel() { return *design_; }
    ReportFields fields() const;
    // The folder the save dialog opens in, created when missing.
    void setSaveFolder(const QString& folder) { saver_.setFolder(folder); }

    void exportReport();
    void exportCsv();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildPlot();
    QWidget* buildSide();
    QWidget* buildFields();
    void showAnalysis();
    QString figuresHtml() const;
    QString surveyHtml() const;
    // The chosen file, or empty when the user cancelled or the dialog failed (reported).
    QString chooseFile(const QString& filter, const QString& defaultExt);

    const RecordTable& table_;
    std::unique_ptr<CommonDialog> ownDialog_;
    CommonDialog* dialog_;
    FileSaver saver_;
    SoilSession* session_;
    SoilPointModel* pointModel_;
    SoilChart* chart_ = nullptr;
    QStackedWidget* plotStack_ = nullptr;
    QLabel* emptyLabel_ = nullptr;
    QLabel* figures_ = nullptr;
    QLabel* message_ = nullptr;
    QLineEdit* site_ = nullptr;
    QLineEdit* operator_ = nullptr;
    QDateEdit* date_ = nullptr;
    QLineEdit* instrument_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    design::DesignPanel* design_ = nullptr;
};

} // namespace bm::soil
