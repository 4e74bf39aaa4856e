#pragma once

#include <QByteArray>
#include <QString>

namespace bm::cfb {

// A compound file (version 3, 512-byte sectors) holding one stream under the given
// name; streams shorter than 4096 bytes are padded with zeros to stay out of the
// mini stream. Streams too large for the header's 109 FAT sector ids get DIFAT sectors.
QByteArray compoundFile(const QString& streamName, QByteArray stream);

} // namespace bm::cfb
