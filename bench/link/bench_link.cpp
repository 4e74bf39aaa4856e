// What one reply costs the program itself: decode, format and table append for
// a stored record, decode and caption update for a live reading, and the value
// formatter alone. Printed, never asserted. The machine may be busy with other
// work, so every figure is the median over several rounds.
#include "model/format.h"
#include "model/reading.h"
#include "link/protocol.h"
#include "records/recordtable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRecords = 10000;
constexpr int kRounds = 21;
constexpr int kEnd = 10;     // records timed at each end of the table
constexpr int kBlock = 1000; // records per block in the profile across the table

// Ten reply bytes of mixed kinds, as a tester would send them.
QByteArray recordBytes(int k)
{
    static constexpr quint8 kFormats[] = {0x51, 0x12, 0x21, 0x31, 0x42};
    const quint16 main = quint16((k * 37) % 12000);
    const quint16 words[] = {main, 0, quint16(30 + k % 400), quint16(60 + k % 300), quint16(10 + k % 500)};
    QByteArray b(10, Qt::Uninitialized);
    for (int i = 0; i < 5; ++i) {
        b[2 * i] = char(words[i] & 0xFF);
        b[2 * i + 1] = char(words[i] >> 8);
    }
    b[2] = char(kFormats[k % 5]);
    b[3] = char(k & 0x1C);
    return b;
}

// The stored-record branch of the receive handler.
void handleRecord(bm::RecordTable& table, int k, const QByteArray& reply)
{
    if (const auto m = bm::protocol::decodeMeasurement(reply))
        table.appendRecord(k, *m);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    std::vector<QByteArray> replies(kRecords + 1);
    for (int k = 1; k <= kRecords; ++k)
        replies[size_t(k)] = recordBytes(k);

    bm::RecordTable table;
    std::vector<double> first, last, whole, again;
    std::array<std::vector<double>, kRecords / kBlock> blocks;
    QElapsedTimer t, all;
    // Round 0 warms caches and allocators and is not counted.
    for (int round = 0; round < kRounds + 1; ++round) {
        table.initgrid();
        all.start();
        for (int b = 0; b < kRecords / kBlock; ++b) {
            t.start();
            for (int k = b * kBlock + 1; k <= (b + 1) * kBlock; ++k) {
                if (k == 1 || k == kRecords - kEnd + 1) {
                    // The ends of the table, timed on their own.
                    QElapsedTimer e;
                    e.start();
                    for (int j = k; j < k + kEnd; ++j)
                        handleRecord(table, j, replies[size_t(j)]);
                    if (round > 0)
                        (k == 1 ? first : last).push_back(double(e.nsecsElapsed()) / kEnd / 1000.0);
                    k += kEnd - 1;
                    continue;
                }
                handleRecord(table, k, replies[size_t(k)]);
            }
            if (round > 0)
                blocks[size_t(b)].push_back(double(t.nsecsElapsed()) / kBlock / 1000.0);
        }
        if (round > 0)
            whole.push_back(double(all.nsecsElapsed()) / kRecords / 1000.0);

        // A second download without Clear: record 1 cuts the table back once,
        // then every row is written over again.
        all.start();
        for (int k = 1; k <= kRecords; ++k)
            handleRecord(table, k, replies[size_t(kRecords + 1 - k)]);
        if (round > 0)
            again.push_back(double(all.nsecsElapsed()) / kRecords / 1000.0);
    }

    // The live reading: decode and caption update.
    bm::Reading reading;
    std::vector<double> live;
    for (int round = 0; round < kRounds; ++round) {
        t.start();
        for (int k = 1; k <= kRecords; ++k) {
            if (const auto m = bm::protocol::decodeMeasurement(replies[size_t(k)]))
                reading.apply(*m);
        }
        live.push_back(double(t.nsecsElapsed()) / kRecords / 1000.0);
    }

    // The formatter alone, over every count and a spread of format bytes.
    constexpr quint8 kFmts[] = {0x22, 0x71, 0x13, 0x50, 0x31, 0x42};
    qint64 chars = 0;
    const auto timeFmt = [&](const QLocale& locale) {
        std::vector<double> runs;
        for (int round = 0; round < 5; ++round) {
            t.start();
            qint64 calls = 0;
            for (quint8 fmt : kFmts) {
                for (int v = 0; v <= 0xFFFF; ++v, ++calls)
                    chars += bm::fmtvalue(quint8(v >> 8), quint8(v & 0xFF), fmt, locale).size();
            }
            runs.push_back(double(t.nsecsElapsed()) / double(calls));
        }
        return median(runs);
    };
    const double fmtC = timeFmt(QLocale::c());
    const double fmtDe = timeFmt(QLocale(QLocale::German, QLocale::Germany));

    std::printf("Cost per reply, median of %d downloads of %d records\n\n", kRounds, kRecords);
    std::printf("| %-44s | %11s |\n", "measurement", "cost");
    std::printf("|----------------------------------------------|-------------|\n");
    std::printf("| %-44s | %8.2f us |\n", "record into a table of 1-10 rows", median(first));
    std::printf("| %-44s | %8.2f us |\n", "record into a table of 9,991-10,000 rows", median(last));
    std::printf("| %-44s | %8.2f us |\n", "record, whole download", median(whole));
    std::printf("| %-44s | %8.2f us |\n", "record, download again without Clear", median(again));
    std::printf("| %-44s | %8.2f us |\n", "live reading (decode + captions)", median(live));
    std::printf("| %-44s | %8.1f ns |\n", "fmtvalue, C locale", fmtC);
    std::printf("| %-44s | %8.1f ns |\n", "fmtvalue, German locale", fmtDe);

    std::printf("\nPer record across the table (blocks of %d):\n\n| rows          | cost        "
                "|\n|---------------|-------------|\n",
                kBlock);
    for (size_t b = 0; b < blocks.size(); ++b)
        std::printf("| %5zu - %5zu | %8.2f us |\n", b * kBlock + 1, (b + 1) * kBlock, median(blocks[b]));
    std::printf("\nFor scale: the tester is asked for one record every 100,000 us. (%lld characters)\n", chars);
    return 0;
}
