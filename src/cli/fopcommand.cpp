#include "cli/fopcommand.h"

#include "cli/cli.h"
#include "electrode/fopinput.h"
#include "electrode/fopreport.h"

#include <QFile>

namespace bm::cli {

int runFop(const FopOptions& options)
{
    QFile file(options.file);
    const bool opened =
        options.file == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        complain(Cli::tr("cannot read %1: %2").arg(options.file, file.errorString()));
        return kBadUsage;
    }
    electrode::FopInput input = electrode::parseFopInput(file.readAll(), options.currentDistance_m);
    if (!input.ok()) {
        complain(QStringLiteral("%1: %2").arg(options.file, input.error));
        return kBadUsage;
    }
    for (double x : options.excludedDistances)
        electrode::excludeDistance(input.points, x);
    const electrode::FopSettings settings{options.currentDistance_m, options.plateauPercent, options.limit_ohm};
    const electrode::FopAnalysis analysis = electrode::analyseFallOfPotential(input.points, settings);
    writeOut(options.format == SoilFormat::Json ? electrode::jsonReport(analysis)
                                                : electrode::keyValueReport(analysis).toUtf8());
    note(electrode::verdictSentence(analysis, settings));
    return kDone;
}

} // namespace bm::cli
