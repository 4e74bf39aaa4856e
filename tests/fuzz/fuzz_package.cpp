// Site packages from arbitrary bytes: never a crash; a package is refused with a
// reason, or it reads whole, every visit under one of its points, and writing it
// out again reads back the same.
#include "history/sitepackage.h"

#include <QByteArray>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kMaxBytes = 64 * 1024;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(std::min(size, kMaxBytes)));
    const bm::history::PackageReading first = bm::history::readSitePackage(bytes);
    check(first.record.has_value() == first.error.isEmpty());
    if (!first.record)
        return 0;
    QSet<QString> points;
    for (const bm::history::TestPoint& p : first.record->points)
        points.insert(p.id);
    for (const bm::history::Visit& v : first.record->visits)
        check(points.contains(v.pointId) && v.timeUtc.isValid());
    const bm::history::PackageReading again = bm::history::readSitePackage(bm::history::sitePackage(*first.record));
    check(again.record && again.record->visits.size() == first.record->visits.size()
          && again.record->points.size() == first.record->points.size()
          && again.record->site.name == first.record->site.name);
    return 0;
}
