#include "records/compoundfile.h"

#include "records/littleendian.h"

#include <vector>

namespace bm::cfb {

namespace {

using le::put16;
using le::put32;
using le::put8;

// Sector ids with a meaning of their own.
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;

constexpr quint16 kSectorShift = 9; // 512-byte sectors, as version 3 requires
constexpr quint16 kMiniSectorShift = 6;
constexpr int kSector = 1 << kSectorShift;
constexpr int kIdsPerSector = kSector / 4;
constexpr int kHeaderDifat = 109; // FAT sector ids the header itself holds
constexpr int kMiniCutoff = 4096;

constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr quint16 kMinorVersion = 0x003E;
constexpr quint16 kMajorVersion = 3;
constexpr quint16 kByteOrderLittle = 0xFFFE;

constexpr int kDirEntrySize = 128;
constexpr int kDirNameBytes = 64;
constexpr quint8 kTypeStream = 2;
constexpr quint8 kTypeRoot = 5;
constexpr quint8 kBlack = 1;
constexpr int kSiblingsAt = 68; // left, right sibling and child ids of an entry

// Where everything goes: the stream from sector 0, then one directory sector,
// the FAT sectors and the DIFAT sectors.
struct Layout {
    quint32 streamSectors = 0;
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;

    quint32 dirSector() const { return streamSectors; }
    quint32 firstFat() const { return dirSector() + 1; }
    quint32 firstDifat() const { return firstFat() + fatSectors; }
    quint32 totalSectors() const { return firstDifat() + difatSectors; }
};

quint32 sectorsFor(quint32 count, quint32 perSector) { return (count + perSector - 1) / perSector; }

// FAT and DIFAT sectors describe themselves too: size them until they settle.
Layout layoutFor(quint32 streamSize)
{
    Layout l;
    l.streamSectors = sectorsFor(streamSize, kSector);
    for (;;) {
        const quint32 needFat = sectorsFor(l.totalSectors(), kIdsPerSector);
        // Each DIFAT sector lists kIdsPerSector - 1 FAT sectors and the next DIFAT sector.
        const quint32 needDifat = needFat > kHeaderDifat ? sectorsFor(needFat - kHeaderDifat, kIdsPerSector - 1) : 0;
        if (needFat == l.fatSectors && needDifat == l.difatSectors)
            return l;
        l.fatSectors = needFat;
        l.difatSectors = needDifat;
    }
}

QByteArray header(const Layout& l)
{
    QByteArray out(kSignature, sizeof kSignature - 1);
    out += QByteArray(16, '\0'); // class id
    put16(out, kMinorVersion);
    put16(out, kMajorVersion);
    put16(out, kByteOrderLittle);
    put16(out, kSectorShift);
    put16(out, kMiniSectorShift);
    out += QByteArray(6, '\0');
    put32(out, 0); // directory sectors (always 0 in version 3)
    put32(out, l.fatSectors);
    put32(out, l.dirSector());
    put32(out, 0); // transaction signature
    put32(out, kMiniCutoff);
    put32(out, kEndOfChain); // no mini FAT
    put32(out, 0);
    put32(out, l.difatSectors ? l.firstDifat() : kEndOfChain);
    put32(out, l.difatSectors);
    for (quint32 i = 0; i < kHeaderDifat; ++i)
        put32(out, i < l.fatSectors ? l.firstFat() + i : kFreeSect);
    return out;
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e;
    for (const QChar ch : name)
        put16(e, ch.unicode());
    put16(e, 0);
    const auto nameBytes = static_cast<quint16>(e.size());
    e += QByteArray(kDirNameBytes - nameBytes, '\0');
    put16(e, nameBytes);
    put8(e, type);
    put8(e, kBlack);
    put32(e, kNoStream); // left sibling
    put32(e, kNoStream); // right sibling
    put32(e, child);
    e += QByteArray(16 + 4 + 8 + 8, '\0'); // class id, state bits, times
    put32(e, start);
    put32(e, size);
    put32(e, 0);
    return e;
}

QByteArray unusedEntry()
{
    QByteArray e(kDirEntrySize, '\0');
    for (int i = 0; i < 3; ++i)
        le::set32(e, kSiblingsAt + 4 * i, kNoStream);
    return e;
}

// One sector: the root, the stream as its only child, two unused entries.
QByteArray directory(const QString& streamName, quint32 streamSize)
{
    QByteArray d = directoryEntry(QStringLiteral("Root Entry"), kTypeRoot, 1, kEndOfChain, 0);
    d += directoryEntry(streamName, kTypeStream, kNoStream, 0, streamSize);
    d += unusedEntry();
    d += unusedEntry();
    return d;
}

QByteArray fatSectors(const Layout& l)
{
    std::vector<quint32> fat(static_cast<size_t>(l.fatSectors) * kIdsPerSector, kFreeSect);
    for (quint32 i = 0; i < l.streamSectors; ++i)
        fat[i] = (i + 1 < l.streamSectors) ? i + 1 : kEndOfChain;
    fat[l.dirSector()] = kEndOfChain;
    for (quint32 i = 0; i < l.fatSectors; ++i)
        fat[l.firstFat() + i] = kFatSect;
    for (quint32 i = 0; i < l.difatSectors; ++i)
        fat[l.firstDifat() + i] = kDifSect;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(fat.size()) * 4);
    for (const quint32 id : fat)
        put32(out, id);
    return out;
}

// The FAT sectors beyond the header's 109, each DIFAT sector ending with the next one's id.
QByteArray difatSectors(const Layout& l)
{
    QByteArray out;
    quint32 listed = kHeaderDifat;
    for (quint32 d = 0; d < l.difatSectors; ++d) {
        for (int k = 0; k < kIdsPerSector - 1; ++k, ++listed)
            put32(out, listed < l.fatSectors ? l.firstFat() + listed : kFreeSect);
        put32(out, d + 1 < l.difatSectors ? l.firstDifat() + d + 1 : kEndOfChain);
    }
    return out;
}

} // namespace

QByteArray compoundFile(const QString& streamName, QByteArray stream)
{
    if (stream.size() < kMiniCutoff)
        stream.append(QByteArray(kMiniCutoff - stream.size(), '\0'));
    const auto streamSize = static_cast<quint32>(stream.size());
    const Layout l = layoutFor(streamSize);

    QByteArray out;
    out.reserve(static_cast<qsizetype>(kSector) * (1 + l.totalSectors()));
    out += header(l);
    out += stream;
    out += QByteArray(static_cast<qsizetype>(l.streamSectors) * kSector - stream.size(), '\0');
    out += directory(streamName, streamSize);
    out += fatSectors(l);
    out += difatSectors(l);
    return out;
}

} // namespace bm::cfb
