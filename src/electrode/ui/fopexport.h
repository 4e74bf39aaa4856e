#pragma once

#include "electrode/fallofpotential.h"
#include "electrode/ui/fopsession.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

namespace bm::electrode {

// What the user writes on the report.
struct FopReportFields {
    QString site;
    QString operatorName;
    QDate date;
    QString instrument;
    QString notes;
};

struct FopReportContent {
    FopReportFields fields;
    std::vector<FopRow> rows;
    FopSettings settings;
    FopAnalysis analysis;
};

// The readings the analysis used (columns record, distance_m, resistance_ohm) beside
// the figures (columns figure, value: the command line's keys and current_distance_m).
// A row holds a reading, a figure or both, so the fop command reads the file as it is.
QByteArray fopCsv(const std::vector<FopRow>& rows, const FopSettings& settings, const FopAnalysis& analysis);

// The A4 report: the fields, the plot, the readings, the figures and the verdict.
// Empty with *error set when it cannot be drawn.
QByteArray fopReportPdf(const FopReportContent& content, QString* error);

} // namespace bm::electrode
