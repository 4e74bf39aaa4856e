#include "cli/soilcommand.h"

#include "cli/cli.h"
#include "soil/soilfit.h"
#include "soil/soilinput.h"
#include "soil/soilreport.h"

#include <QFile>

namespace bm::cli {

int runSoil(const SoilOptions& options)
{
    QFile file(options.file);
    const bool opened = options.file == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                            : file.open(QIODevice::ReadOnly);
    if (!opened) {
        complain(Cli::tr("cannot read %1: %2").arg(options.file, file.errorString()));
        return kBadUsage;
    }
    soil::SoilInput input = soil::parseSoilInput(file.readAll());
    if (!input.ok()) {
        complain(QStringLiteral("%1: %2").arg(options.file, input.error));
        return kBadUsage;
    }
    for (double a : options.excludedSpacings)
        soil::excludeSpacing(input.points, a);
    const soil::SoilAnalysis analysis = soil::analyse(input.points);
    if (!analysis.uniform) {
        complain(QStringLiteral("%1: %2").arg(options.file, analysis.message));
        return kBadUsage;
    }
    QByteArray report = options.format == SoilFormat::Json ? soil::jsonReport(analysis)
                                                           : soil::keyValueReport(analysis).toUtf8();
    if (!report.endsWith('\n'))
        report += '\n';
    writeOut(report);
    return kDone;
}

} // namespace bm::cli
