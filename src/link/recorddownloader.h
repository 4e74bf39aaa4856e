#pragma once

#include "link/retryingrequest.h"
#include "model/measurement.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <optional>

namespace bm {

// fast: the next request as soon as a reply is complete; paced: a request at
// most every 100 ms, on the window's record ticks.
enum class Pace { Fast, Compatible };

struct DownloadSettings {
    int first = 1;
    int last = 0; // 0: through the last record the tester holds
    Pace pace = Pace::Fast;
    int timeoutMs = 300;
    int retries = 3;
    // The count used when the count reply cannot be read; none: the download ends.
    std::optional<int> countIfUnreadable;
};

enum class DownloadEnd {
    Complete,   // every record asked for arrived
    Incomplete, // some stayed silent through every retry
    NoCount,    // the tester never reported how many records it holds
    LinkLost,   // the port went away
    Stopped     // stop() was called
};

struct DownloadResult {
    DownloadEnd end = DownloadEnd::Complete;
    int count = 0;           // records the tester holds (0 when never known)
    int first = 1, last = 0; // the range asked for, within the count
    QList<int> missing;      // numbers asked for that did not arrive, ascending
};

// The one download engine of the window and the command-line tool: the count,
// then each record, with never more than one request outstanding, so a reply is
// only ever filed under the record it answers. A record whose reply never came
// in time is asked again once the line is quiet, or left missing.
class RecordDownloader : public QObject {
    Q_OBJECT
public:
    static constexpr int kCompatibleIntervalMs = 100;

    explicit RecordDownloader(Transport* port, const DownloadSettings& settings, QObject* parent = nullptr);

    void setSettings(const DownloadSettings& settings);
    // Asks for the count, then for the range.
    void start();
    // Asks for these records only (a repair pass); the first goes out at once.
    void fetch(QList<int> numbers);
    // Ends the download at once; finished() follows with DownloadEnd::Stopped.
    void stop();
    // The port was closed or reopened: ends the download and forgets the line.
    void abandon();
    bool running() const { return running_; }
    // The bytes that arrive now answer a request of this download's.
    bool ownsLine() const { return request_.ownsLine(); }
    RetryingRequest& request() { return request_; }

    // The paced download's record tick (single-shot, started with each request):
    // the next request, or the end, waits for it.
    QTimer* paceTimer() { return &pace_; }
    void paceTick();

signals:
    // The count arrived and the range is settled (first > last: nothing to fetch).
    void rangeKnown(int first, int last, int count);
    // A request went out, whatever it asked.
    void requestSent(qint16 code);
    // Record `number` was asked for the first time: the `done`-th of `total`.
    void recordRequested(int number, int done, int total);
    void recordReceived(int number, const bm::Measurement& measurement);
    void finished(const bm::DownloadResult& result);

private:
    void onReplied(qint16 code, const QByteArray& reply);
    void onCount(const QByteArray& reply);
    void onFailed(qint16 code);
    void settleCount(std::optional<int> count);
    void begin(const QList<int>& numbers);
    void step();
    void finish(DownloadEnd end);

    Transport* port_;
    DownloadSettings settings_;
    RetryingRequest request_;
    QTimer pace_;
    QList<int> numbers_;  // what this pass asks for, in order
    QList<bool> arrived_; // by position in numbers_
    DownloadResult result_;
    qsizetype next_ = 0;
    bool due_ = false;     // the pace allows the next step
    bool answered_ = true; // the last request was answered or gave up
    bool running_ = false;
};

} // namespace bm

Q_DECLARE_METATYPE(bm::DownloadResult)
