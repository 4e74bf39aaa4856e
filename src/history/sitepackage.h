#pragma once

#include "history/historytypes.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace bm::history {

// The package format this program writes and the newest it reads.
constexpr int kPackageVersion = 1;

// A site with its points, visits, readings and results as one JSON document.
QByteArray sitePackage(const SiteRecord& record);

struct PackageReading {
    std::optional<SiteRecord> record;
    QString error; // what is wrong and where, when record is empty
};

// Reads a package whole or not at all: any missing or malformed field, a key that
// is not a UUID, a visit of a point the package lacks, or a newer format is refused.
PackageReading readSitePackage(const QByteArray& bytes);

} // namespace bm::history
