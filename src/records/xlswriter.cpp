#include "records/xlswriter.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace bm::xls {

namespace {

// ---- little-endian byte building ----

void put8(QByteArray& b, quint8 v) { b.append(static_cast<char>(v)); }
void put16(QByteArray& b, quint16 v)
{
    put8(b, static_cast<quint8>(v & 0xFF));
    put8(b, static_cast<quint8>(v >> 8));
}
void put32(QByteArray& b, quint32 v)
{
    put16(b, static_cast<quint16>(v & 0xFFFF));
    put16(b, static_cast<quint16>(v >> 16));
}
void set32(QByteArray& b, qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); }

// ---- BIFF8 records ----

constexpr quint16 kBOF = 0x0809;
constexpr quint16 kEOF = 0x000A;
constexpr quint16 kCodepage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXF = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSST = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kExtSST = 0x00FF;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kWindow2 = 0x023E;
constexpr quint16 kLabelSST = 0x00FD;
constexpr quint16 kBlank = 0x0201;

constexpr int kMaxRecordData = 8224;
constexpr quint16 kStyleXfCount = 15;
constexpr quint16 kCentredXf = 16; // 15 is the default cell format

void record(QByteArray& s, quint16 type, const QByteArray& data)
{
    put16(s, type);
    put16(s, static_cast<quint16>(data.size()));
    s += data;
}

bool needsHighByte(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() > 0xFF; });
}

void putChars(QByteArray& b, QStringView text, bool high)
{
    for (const QChar ch : text) {
        if (high)
            put16(b, ch.unicode());
        else
            put8(b, static_cast<quint8>(ch.unicode()));
    }
}

// An 8-bit-length string, as in sheet and font names.
QByteArray shortString(const QString& text)
{
    QByteArray b;
    const bool high = needsHighByte(text);
    put8(b, static_cast<quint8>(text.size()));
    put8(b, high ? 1 : 0);
    putChars(b, text, high);
    return b;
}

QByteArray bof(quint16 kind)
{
    QByteArray b;
    put16(b, 0x0600); // BIFF8
    put16(b, kind);   // 0x0005 globals, 0x0010 worksheet
    put16(b, 0x0DBB); // build
    put16(b, 0x07CC); // year
    put32(b, 0x00000000);
    put32(b, 0x00000006); // lowest version that can read it: BIFF8
    return b;
}

QByteArray window1()
{
    QByteArray b;
    put16(b, 0);      // x
    put16(b, 0);      // y
    put16(b, 0x4000); // width
    put16(b, 0x2000); // height
    put16(b, 0x0038); // scroll bars and sheet tabs shown
    put16(b, 0);      // active sheet
    put16(b, 0);      // first visible tab
    put16(b, 1);      // selected sheets
    put16(b, 0x0258); // tab bar width ratio
    return b;
}

QByteArray font()
{
    QByteArray b;
    put16(b, 200);    // 10 pt in twentieths
    put16(b, 0);      // no attributes
    put16(b, 0x7FFF); // automatic colour
    put16(b, 400);    // normal weight
    put16(b, 0);      // no super/subscript
    put8(b, 0);       // no underline
    put8(b, 0);       // family
    put8(b, 0);       // character set
    put8(b, 0);
    b += shortString(QStringLiteral("Arial"));
    return b;
}

// horizontal: 0 general, 2 centred; vertical always bottom, as Excel's default.
QByteArray xf(bool style, quint8 horizontal)
{
    QByteArray b;
    put16(b, 0); // font 0
    put16(b, 0); // General number format
    put16(b, style ? 0xFFF5 : 0x0001); // locked; style XFs have the style bit and no parent
    put8(b, static_cast<quint8>(horizontal | (2 << 4)));
    put8(b, 0);                    // no rotation
    put8(b, 0);                    // no indent
    put8(b, style ? 0x00 : 0xFC);  // cell XFs use their own attributes
    put32(b, 0);                   // no borders
    put32(b, 0);
    put16(b, 0x20C0);              // pattern colours: automatic
    return b;
}

QByteArray styleNormal()
{
    QByteArray b;
    put16(b, 0x8000); // built-in style on XF 0
    put8(b, 0);       // "Normal"
    put8(b, 0xFF);
    return b;
}

QByteArray boundSheet(quint32 offset)
{
    QByteArray b;
    put32(b, offset);
    put8(b, 0); // visible
    put8(b, 0); // worksheet
    b += shortString(QStringLiteral("Sheet1"));
    return b;
}

struct SharedStrings {
    std::vector<QString> unique;
    quint32 total = 0;
};

// Where a string starts, for EXTSST.
struct StringPos {
    quint32 streamOffset;
    quint16 recordOffset;
};

// SST and its CONTINUE records. A string may be split between records: the
// continuation repeats the high-byte flag. A string's header is never split.
void writeSst(QByteArray& s, const SharedStrings& sst, std::vector<StringPos>& starts)
{
    QByteArray head;
    put32(head, sst.total);
    put32(head, static_cast<quint32>(sst.unique.size()));

    qsizetype recordStart = s.size();
    quint16 recordType = kSST;
    QByteArray data = head;

    const auto flush = [&](quint16 nextType) {
        record(s, recordType, data);
        recordStart = s.size();
        recordType = nextType;
        data.clear();
    };

    for (const QString& text : sst.unique) {
        const bool high = needsHighByte(text);
        const int charBytes = high ? 2 : 1;
        if (data.size() + 3 + charBytes > kMaxRecordData)
            flush(kContinue);
        starts.push_back({static_cast<quint32>(recordStart + 4 + data.size()),
                          static_cast<quint16>(4 + data.size())});
        put16(data, static_cast<quint16>(text.size()));
        put8(data, high ? 1 : 0);
        qsizetype done = 0;
        while (done < text.size()) {
            const qsizetype room = (kMaxRecordData - data.size()) / charBytes;
            if (room <= 0) {
                flush(kContinue);
                put8(data, high ? 1 : 0);
                continue;
            }
            const qsizetype take = std::min(room, text.size() - done);
            putChars(data, QStringView(text).mid(done, take), high);
            done += take;
        }
    }
    flush(kContinue);
}

QByteArray extSst(const std::vector<StringPos>& starts)
{
    // At most 128 buckets of at least 8 strings.
    const auto count = static_cast<quint32>(starts.size());
    const quint16 perBucket = static_cast<quint16>(std::max<quint32>(8, (count + 127) / 128));
    QByteArray b;
    put16(b, perBucket);
    for (size_t i = 0; i < starts.size(); i += perBucket) {
        put32(b, starts[i].streamOffset);
        put16(b, starts[i].recordOffset);
        put16(b, 0);
    }
    return b;
}

QString cellText(const CellGrid& grid, int r, int c)
{
    QString text = grid.cell(r, c);
    if (text.size() > kMaxChars)
        text.truncate(kMaxChars);
    return text;
}

// ---- compound file ----

constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kSector = 512;
constexpr int kIdsPerSector = kSector / 4;
constexpr int kHeaderDifat = 109;
constexpr int kMiniCutoff = 4096;

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e;
    QByteArray nameBytes;
    putChars(nameBytes, name, true);
    put16(nameBytes, 0);
    e += nameBytes;
    e += QByteArray(64 - nameBytes.size(), '\0');
    put16(e, static_cast<quint16>(nameBytes.size()));
    put8(e, type);
    put8(e, 1);         // black
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
    QByteArray e(128, '\0');
    set32(e, 68, kNoStream);
    set32(e, 72, kNoStream);
    set32(e, 76, kNoStream);
    return e;
}

} // namespace

QByteArray workbookStream(const CellGrid& grid)
{
    // Shared strings, in order of first use.
    SharedStrings sst;
    QHash<QString, quint32> index;
    std::vector<qint64> cells; // SST index per cell, -1 for a blank
    cells.reserve(static_cast<size_t>(std::max(0, grid.rows)) * static_cast<size_t>(std::max(0, grid.cols)));
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c) {
            const QString text = cellText(grid, r, c);
            if (text.isEmpty()) {
                cells.push_back(-1);
                continue;
            }
            auto it = index.constFind(text);
            if (it == index.constEnd()) {
                it = index.insert(text, static_cast<quint32>(sst.unique.size()));
                sst.unique.push_back(text);
            }
            ++sst.total;
            cells.push_back(it.value());
        }
    }

    QByteArray s;
    record(s, kBOF, bof(0x0005));
    QByteArray codepage;
    put16(codepage, 1200); // UTF-16
    record(s, kCodepage, codepage);
    record(s, kWindow1, window1());
    for (int i = 0; i < 4; ++i) // index 4 does not exist in BIFF, four fonts fill 0 to 3
        record(s, kFont, font());
    for (int i = 0; i < kStyleXfCount; ++i)
        record(s, kXF, xf(true, 0));
    record(s, kXF, xf(false, 0)); // 15: default cell format
    record(s, kXF, xf(false, 2)); // 16: centred
    record(s, kStyle, styleNormal());
    const qsizetype sheetOffsetAt = s.size() + 4;
    record(s, kBoundSheet, boundSheet(0));
    std::vector<StringPos> starts;
    writeSst(s, sst, starts);
    record(s, kExtSST, extSst(starts));
    record(s, kEOF, {});

    set32(s, sheetOffsetAt, static_cast<quint32>(s.size()));
    record(s, kBOF, bof(0x0010));
    QByteArray dims;
    put32(dims, 0);
    put32(dims, static_cast<quint32>(grid.rows));
    put16(dims, 0);
    put16(dims, static_cast<quint16>(grid.cols));
    put16(dims, 0);
    record(s, kDimensions, dims);

    s.reserve(s.size() + static_cast<qsizetype>(cells.size()) * 14 + 64);
    size_t i = 0;
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c, ++i) {
            const qint64 sstIndex = cells[i];
            put16(s, sstIndex < 0 ? kBlank : kLabelSST);
            put16(s, sstIndex < 0 ? 6 : 10);
            put16(s, static_cast<quint16>(r));
            put16(s, static_cast<quint16>(c));
            put16(s, kCentredXf);
            if (sstIndex >= 0)
                put32(s, static_cast<quint32>(sstIndex));
        }
    }

    QByteArray window2;
    put16(window2, 0x06B6); // grid lines, headers, zeros, outline symbols, selected, active
    put16(window2, 0);      // top row
    put16(window2, 0);      // left column
    put32(window2, 0x40);   // grid line colour: automatic
    put16(window2, 0);      // zoom in page break preview: default
    put16(window2, 0);      // zoom in normal view: default
    put32(window2, 0);
    record(s, kWindow2, window2);
    record(s, kEOF, {});
    return s;
}

QByteArray compoundFile(const QString& streamName, QByteArray stream)
{
    if (stream.size() < kMiniCutoff)
        stream.append(QByteArray(kMiniCutoff - stream.size(), '\0'));
    const auto streamSize = static_cast<quint32>(stream.size());
    const quint32 streamSectors = (streamSize + kSector - 1) / kSector;

    // FAT and DIFAT sectors describe themselves too: size them until they settle.
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    for (;;) {
        const quint32 total = streamSectors + 1 + fatSectors + difatSectors;
        const quint32 needFat = (total + kIdsPerSector - 1) / kIdsPerSector;
        const quint32 needDifat =
            needFat > kHeaderDifat ? (needFat - kHeaderDifat + kIdsPerSector - 2) / (kIdsPerSector - 1) : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 dirSector = streamSectors;
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;

    std::vector<quint32> fat(static_cast<size_t>(fatSectors) * kIdsPerSector, kFreeSect);
    for (quint32 i = 0; i < streamSectors; ++i)
        fat[i] = (i + 1 < streamSectors) ? i + 1 : kEndOfChain;
    fat[dirSector] = kEndOfChain;
    for (quint32 i = 0; i < fatSectors; ++i)
        fat[firstFat + i] = kFatSect;
    for (quint32 i = 0; i < difatSectors; ++i)
        fat[firstDifat + i] = kDifSect;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(kSector) * (1 + firstDifat + difatSectors));

    // Header.
    out += QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out += QByteArray(16, '\0');
    put16(out, 0x003E); // minor version
    put16(out, 0x0003); // major version 3
    put16(out, 0xFFFE); // little-endian
    put16(out, 9);      // 512-byte sectors
    put16(out, 6);      // 64-byte mini sectors
    out += QByteArray(6, '\0');
    put32(out, 0); // directory sectors (always 0 in version 3)
    put32(out, fatSectors);
    put32(out, dirSector);
    put32(out, 0);
    put32(out, kMiniCutoff);
    put32(out, kEndOfChain); // no mini FAT
    put32(out, 0);
    put32(out, difatSectors ? firstDifat : kEndOfChain);
    put32(out, difatSectors);
    for (quint32 i = 0; i < kHeaderDifat; ++i)
        put32(out, i < fatSectors ? firstFat + i : kFreeSect);

    // The stream.
    out += stream;
    out += QByteArray(static_cast<qsizetype>(streamSectors) * kSector - stream.size(), '\0');

    // Directory: the root, the stream, two unused entries.
    out += directoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    out += directoryEntry(streamName, 2, kNoStream, 0, streamSize);
    out += unusedEntry();
    out += unusedEntry();

    for (const quint32 id : fat)
        put32(out, id);

    // DIFAT sectors: the FAT sectors beyond the header's 109, then the next DIFAT sector.
    quint32 listed = kHeaderDifat;
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (int k = 0; k < kIdsPerSector - 1; ++k, ++listed)
            put32(out, listed < fatSectors ? firstFat + listed : kFreeSect);
        put32(out, d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
    }
    return out;
}

QByteArray workbook(const CellGrid& grid, QString* error)
{
    if (grid.rows > kMaxRows || grid.cols > kMaxCols) {
        if (error)
            *error = QStringLiteral("表格超出 Excel 97-2003 格式的大小 (%1 行, %2 列)").arg(kMaxRows).arg(kMaxCols);
        return {};
    }
    return compoundFile(QStringLiteral("Workbook"), workbookStream(grid));
}

} // namespace bm::xls
