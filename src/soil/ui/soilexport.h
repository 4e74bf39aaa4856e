#pragma once

#include "design/ui/designfigures.h"
#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace bm::soil {

// What the user writes on the report.
struct ReportFields {
    QString site;
    QString operatorName;
    QDate date;
    QString instrument;
    QString notes;
};

struct ReportContent {
    ReportFields fields;
    std::vector<RecordPoint> points;
    SoilAnalysis analysis;
    QStringList recordLines;                                    // the downloaded records table as printed
    std::optional<design::DesignSection> design = std::nullopt; // the design panel's electrode, when there is a soil
};

// The points beside the model: columns record, spacing_m, resistivity_ohm_m,
// included (1 or 0), then the model sampled across the spacings (model_spacing_m,
// two_layer_ohm_m, uniform_ohm_m), then the point's array, mn2_m and traverse and
// the three-layer model (three_layer_ohm_m). The models are given for the array
// most points use. A row holds one point, one sample or both; cells without a
// value stay empty, so the soil command reads the file as it is.
QByteArray soilCsv(const std::vector<RecordPoint>& points, const SoilAnalysis& analysis);

// The A4 report: the fields, the plot, the points, both models, the design and the records
// table, pages added as needed. Empty with *error set when it cannot be drawn.
QByteArray soilReportPdf(const ReportContent& content, QString* error);

} // namespace bm::soil
