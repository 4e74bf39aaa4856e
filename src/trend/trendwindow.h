#pragma once

#include "output/filesaver.h"
#include "trend/trendstore.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QValueAxis;
class QDateTimeAxis;
class QLineSeries;

namespace bm {

class CommonDialog;

// A strip chart of the live readings since it opened: the main value of the
// current mode against time and, for resistance, Rc and Rp on a second axis.
// Overloads leave gaps; pause keeps the chart as it stands.
class TrendWindow : public QWidget {
    Q_OBJECT
public:
    // Saves through the dialog given (not owned), or Qt's own over this window.
    explicit TrendWindow(CommonDialog* dialog = nullptr, QWidget* parent = nullptr);
    ~TrendWindow() override;

    // A live reading taken at msecs since the epoch; the chart follows at the next event loop pass.
    void addMeasurement(const Measurement& m, qint64 msecs);
    void setPaused(bool paused);

    void exportCsv();
    void exportPng();

    const TrendStore& store() const { return store_; }
    QChart* chart() const { return chart_; }
    QChartView* view() const { return view_; }
    // Builds the chart's lines from the store; the chart repaints on its own.
    void redraw();
    QImage picture() const;

private:
    void buildChart();
    void showLines(std::vector<QLineSeries*>& pool, const std::vector<TrendLine>& lines, QValueAxis* axis,
                   const QColor& colour, const QString& name);
    void fitTimeAxis(qint64 first, qint64 last);
    void fitAxis(QValueAxis* axis, std::pair<double, double> range);
    void save(const QString& filter, const QString& ext, const QByteArray& bytes);

    std::unique_ptr<CommonDialog> ownDialog_;
    FileSaver saver_;
    TrendStore store_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* mainAxis_ = nullptr;
    QValueAxis* sideAxis_ = nullptr;
    QPushButton* pause_ = nullptr;
    QLabel* status_ = nullptr;
    bool redrawQueued_ = false;
    // Line pieces in use and spare, one pool per value: a gap splits a line in two.
    std::vector<QLineSeries*> mainLines_, rcLines_, rpLines_;
};

} // namespace bm
