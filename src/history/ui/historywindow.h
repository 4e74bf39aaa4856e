#pragma once

#include "history/historystore.h"

#include <QWidget>

#include <memory>

class QChart;
class QChartView;
class QLabel;
class QListWidget;
class QTableWidget;

namespace bm {
class CommonDialog;
}

namespace bm::history {

// 现场记录: the sites and their test points, a point's visits over time against its
// limit, a visit's readings, and a site's package exported or imported.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    // Any dialog for the export's Save As and the messages; not owned. Null: Qt's own.
    explicit HistoryWindow(CommonDialog* dialog = nullptr, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Opens the chosen database again and lists its sites.
    void reload();
    void selectSite(const QString& name);
    void selectPoint(const QString& name);
    void selectVisit(int row);
    void exportSite();
    void importPackage(const QString& fileName);
    void chooseDatabase();

    QChart* chart() const;
    QTableWidget* visitsTable() const { return visits_; }
    QTableWidget* readingsTable() const { return readings_; }
    QListWidget* sitesList() const { return sites_; }

private:
    QWidget* buildLists();
    QWidget* buildDetails();
    void showPoints();
    void showVisits();
    void plot(const QList<VisitSummary>& visits, const std::optional<double>& limit);
    void warn(const QString& text);
    QString currentSite() const;
    QString currentPoint() const;

    std::unique_ptr<CommonDialog> ownDialog_;
    CommonDialog* dialog_;
    std::unique_ptr<HistoryStore> store_;
    QList<TestPoint> points_;
    QList<VisitSummary> shown_;
    QLabel* database_ = nullptr;
    QListWidget* sites_ = nullptr;
    QListWidget* pointList_ = nullptr;
    QChartView* chartView_ = nullptr;
    QTableWidget* visits_ = nullptr;
    QTableWidget* readings_ = nullptr;
};

} // namespace bm::history
