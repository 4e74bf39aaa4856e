#include "records/xlswriter.h"

#include "records/compoundfile.h"
#include "records/littleendian.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace bm::xls {

namespace {

using le::put16;
using le::put32;
using le::put8;

// Record types.
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

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kBofGlobals = 0x0005;
constexpr quint16 kBofWorksheet = 0x0010;
constexpr quint16 kCodepageUtf16 = 1200;

constexpr int kRecordHeader = 4; // type and size
constexpr int kMaxRecordData = 8224;
constexpr int kStringHeader = 3; // character count and the high-byte flag
constexpr quint8 kHighByte = 1;
constexpr quint16 kBlankSize = 6;     // row, column, XF
constexpr quint16 kLabelSstSize = 10; // ... and the SST index
constexpr int kFontCount = 4;         // index 4 does not exist in BIFF, four fonts fill 0 to 3
constexpr quint16 kStyleXfCount = 15;
constexpr quint16 kCentredXf = 16; // 15 is the default cell format
constexpr quint8 kAlignGeneral = 0;
constexpr quint8 kAlignCentred = 2;
constexpr quint8 kAlignBottom = 2;
constexpr quint32 kMinExtSstBucket = 8;
constexpr quint32 kMaxExtSstBuckets = 128;

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
    put8(b, high ? kHighByte : 0);
    putChars(b, text, high);
    return b;
}

QByteArray bof(quint16 kind)
{
    QByteArray b;
    put16(b, kBiff8);
    put16(b, kind);
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

// Vertical alignment always bottom, as Excel's default.
QByteArray xf(bool style, quint8 horizontal)
{
    QByteArray b;
    put16(b, 0);                       // font 0
    put16(b, 0);                       // General number format
    put16(b, style ? 0xFFF5 : 0x0001); // locked; style XFs have the style bit and no parent
    put8(b, static_cast<quint8>(horizontal | (kAlignBottom << 4)));
    put8(b, 0);                   // no rotation
    put8(b, 0);                   // no indent
    put8(b, style ? 0x00 : 0xFC); // cell XFs use their own attributes
    put32(b, 0);                  // no borders
    put32(b, 0);
    put16(b, 0x20C0); // pattern colours: automatic
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

// The sheet's texts once each in order of first use, and per cell its index
// among them, -1 for a blank.
struct SheetStrings {
    std::vector<QString> unique;
    quint32 total = 0;
    std::vector<qint64> cells;
};

QString cellText(const CellGrid& grid, int r, int c)
{
    QString text = grid.cell(r, c);
    if (text.size() > kMaxChars)
        text.truncate(kMaxChars);
    return text;
}

SheetStrings collectStrings(const CellGrid& grid)
{
    SheetStrings sst;
    QHash<QString, quint32> index;
    sst.cells.reserve(static_cast<size_t>(std::max(0, grid.rows)) * static_cast<size_t>(std::max(0, grid.cols)));
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c) {
            const QString text = cellText(grid, r, c);
            if (text.isEmpty()) {
                sst.cells.push_back(-1);
                continue;
            }
            auto it = index.constFind(text);
            if (it == index.constEnd()) {
                it = index.insert(text, static_cast<quint32>(sst.unique.size()));
                sst.unique.push_back(text);
            }
            ++sst.total;
            sst.cells.push_back(it.value());
        }
    }
    return sst;
}

// Where a string starts, for EXTSST.
struct StringPos {
    quint32 streamOffset;
    quint16 recordOffset;
};

// SST and its CONTINUE records. A string may be split between records: the
// continuation repeats the high-byte flag. A string's header is never split.
void writeSst(QByteArray& s, const SheetStrings& sst, std::vector<StringPos>& starts)
{
    QByteArray data;
    put32(data, sst.total);
    put32(data, static_cast<quint32>(sst.unique.size()));
    qsizetype recordStart = s.size();
    quint16 recordType = kSST;

    const auto flush = [&] {
        record(s, recordType, data);
        recordStart = s.size();
        recordType = kContinue;
        data.clear();
    };

    for (const QString& text : sst.unique) {
        const bool high = needsHighByte(text);
        const int charBytes = high ? 2 : 1;
        if (data.size() + kStringHeader + charBytes > kMaxRecordData)
            flush();
        starts.push_back({static_cast<quint32>(recordStart + kRecordHeader + data.size()),
                          static_cast<quint16>(kRecordHeader + data.size())});
        put16(data, static_cast<quint16>(text.size()));
        put8(data, high ? kHighByte : 0);
        qsizetype done = 0;
        while (done < text.size()) {
            const qsizetype room = (kMaxRecordData - data.size()) / charBytes;
            if (room <= 0) {
                flush();
                put8(data, high ? kHighByte : 0);
                continue;
            }
            const qsizetype take = std::min(room, text.size() - done);
            putChars(data, QStringView(text).mid(done, take), high);
            done += take;
        }
    }
    flush();
}

QByteArray extSst(const std::vector<StringPos>& starts)
{
    const auto count = static_cast<quint32>(starts.size());
    const auto perBucket =
        static_cast<quint16>(std::max(kMinExtSstBucket, (count + kMaxExtSstBuckets - 1) / kMaxExtSstBuckets));
    QByteArray b;
    put16(b, perBucket);
    for (size_t i = 0; i < starts.size(); i += perBucket) {
        put32(b, starts[i].streamOffset);
        put16(b, starts[i].recordOffset);
        put16(b, 0);
    }
    return b;
}

// The workbook globals; returns where BOUNDSHEET keeps the sheet's offset.
qsizetype writeGlobals(QByteArray& s, const SheetStrings& sst)
{
    record(s, kBOF, bof(kBofGlobals));
    QByteArray codepage;
    put16(codepage, kCodepageUtf16);
    record(s, kCodepage, codepage);
    record(s, kWindow1, window1());
    for (int i = 0; i < kFontCount; ++i)
        record(s, kFont, font());
    for (int i = 0; i < kStyleXfCount; ++i)
        record(s, kXF, xf(true, kAlignGeneral));
    record(s, kXF, xf(false, kAlignGeneral)); // 15: default cell format
    record(s, kXF, xf(false, kAlignCentred)); // 16: centred
    record(s, kStyle, styleNormal());
    const qsizetype sheetOffsetAt = s.size() + kRecordHeader;
    record(s, kBoundSheet, boundSheet(0));
    std::vector<StringPos> starts;
    writeSst(s, sst, starts);
    record(s, kExtSST, extSst(starts));
    record(s, kEOF, {});
    return sheetOffsetAt;
}

QByteArray dimensions(const CellGrid& grid)
{
    QByteArray b;
    put32(b, 0);                               // first row
    put32(b, static_cast<quint32>(grid.rows)); // last row + 1
    put16(b, 0);                               // first column
    put16(b, static_cast<quint16>(grid.cols)); // last column + 1
    put16(b, 0);
    return b;
}

QByteArray window2()
{
    QByteArray b;
    put16(b, 0x06B6); // grid lines, headers, zeros, outline symbols, selected, active
    put16(b, 0);      // top row
    put16(b, 0);      // left column
    put32(b, 0x40);   // grid line colour: automatic
    put16(b, 0);      // zoom in page break preview: default
    put16(b, 0);      // zoom in normal view: default
    put32(b, 0);
    return b;
}

// The worksheet: every cell a centred LABELSST or BLANK, written in place
// rather than through record() since there may be millions of them.
void writeSheet(QByteArray& s, const CellGrid& grid, const std::vector<qint64>& cells)
{
    record(s, kBOF, bof(kBofWorksheet));
    record(s, kDimensions, dimensions(grid));
    s.reserve(s.size() + static_cast<qsizetype>(cells.size()) * (kRecordHeader + kLabelSstSize) + 64);
    size_t i = 0;
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.cols; ++c, ++i) {
            const qint64 sstIndex = cells[i];
            put16(s, sstIndex < 0 ? kBlank : kLabelSST);
            put16(s, sstIndex < 0 ? kBlankSize : kLabelSstSize);
            put16(s, static_cast<quint16>(r));
            put16(s, static_cast<quint16>(c));
            put16(s, kCentredXf);
            if (sstIndex >= 0)
                put32(s, static_cast<quint32>(sstIndex));
        }
    }
    record(s, kWindow2, window2());
    record(s, kEOF, {});
}

} // namespace

QByteArray workbookStream(const CellGrid& grid)
{
    const SheetStrings sst = collectStrings(grid);
    QByteArray s;
    const qsizetype sheetOffsetAt = writeGlobals(s, sst);
    le::set32(s, sheetOffsetAt, static_cast<quint32>(s.size()));
    writeSheet(s, grid, sst.cells);
    return s;
}

QByteArray workbook(const CellGrid& grid, QString* error)
{
    if (grid.rows > kMaxRows || grid.cols > kMaxCols) {
        if (error)
            *error = QStringLiteral("表格超出 Excel 97-2003 格式的大小 (%1 行, %2 列)").arg(kMaxRows).arg(kMaxCols);
        return {};
    }
    return cfb::compoundFile(QStringLiteral("Workbook"), workbookStream(grid));
}

} // namespace bm::xls
