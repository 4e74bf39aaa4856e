#pragma once

#include "cli/options.h"
#include "design/design.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace bm::cli {

struct DesignOptions {
    design::DesignInput input; // the soil left empty when it comes from a file
    QString soilFile;          // --soil; "-": standard input
    bool json = false;
};

Parsed<DesignOptions> parseDesign(const QStringList& args);

// `design`: the electrode's resistance and, with a fault current, the touch and
// step check, as key=value lines or JSON. Exit status 1 for a soil file that
// cannot be read or fitted.
int runDesign(const DesignOptions& options);

} // namespace bm::cli
