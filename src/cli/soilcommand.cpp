#include "cli/soilcommand.h"

#include "cli/cli.h"
#include "soil/soilfit.h"
#include "soil/soilinput.h"
#include "soil/soilreport.h"

#include <QFile>

namespace bm::cli {

std::optional<soil::SoilAnalysis> analyseSoilFile(const QString& fileName, const QList<double>& excludedSpacings)
{
    QFile file(fileName);
    const bool opened =
        fileName == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        complain(Cli::tr("cannot read %1: %2").arg(fileName, file.errorString()));
        return std::nullopt;
    }
    soil::SoilInput input = soil::parseSoilInput(file.readAll());
    if (!input.ok()) {
        complain(QStringLiteral("%1: %2").arg(fileName, input.error));
        return std::nullopt;
    }
    for (double a : excludedSpacings)
        soil::excludeSpacing(input.points, a);
    soil::SoilAnalysis analysis = soil::analyse(input.points);
    if (!analysis.uniform) {
        complain(QStringLiteral("%1: %2").arg(fileName, analysis.message));
        return std::nullopt;
    }
    return analysis;
}

int runSoil(const SoilOptions& options)
{
    const std::optional<soil::SoilAnalysis> fitted = analyseSoilFile(options.file, options.excludedSpacings);
    if (!fitted)
        return kBadUsage;
    const soil::SoilAnalysis& analysis = *fitted;
    QByteArray report =
        options.format == SoilFormat::Json ? soil::jsonReport(analysis) : soil::keyValueReport(analysis).toUtf8();
    if (!report.endsWith('\n'))
        report += '\n';
    writeOut(report);
    return kDone;
}

} // namespace bm::cli
