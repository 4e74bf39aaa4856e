#pragma once

#include "link/retryingrequest.h"
#include "model/measurement.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

namespace bm {

// fast: the next request as soon as a reply is complete; compatible: one
// request every 100 ms, as the window paces its download.
enum class Pace { Fast, Compatible };

struct DownloadSettings {
    int first = 1;
    int last = 0; // 0: through the last record the tester holds
    Pace pace = Pace::Fast;
    int timeoutMs = 300;
    int retries = 3;
};

enum class DownloadEnd {
    Complete,   // every record of the range arrived
    Incomplete, // some stayed silent through every retry
    NoCount,    // the tester never reported how many records it holds
    LinkLost,   // the port went away
    Stopped     // stop() was called
};

struct DownloadResult {
    DownloadEnd end = DownloadEnd::Complete;
    int count = 0;           // records the tester holds (0 when never known)
    int first = 1, last = 0; // the range asked for, within the count
    QList<int> missing;      // numbers of the range that did not arrive, ascending
};

// Downloads the stored records over a transport with one request outstanding:
// the count, then each record of the range, retried on silence.
class RecordDownloader : public QObject {
    Q_OBJECT
public:
    static constexpr int kCompatibleIntervalMs = 100;

    explicit RecordDownloader(Transport* port, const DownloadSettings& settings, QObject* parent = nullptr);

    void start();
    // Ends the download at once; finished() follows with DownloadEnd::Stopped.
    void stop();
    bool running() const { return running_; }

signals:
    // The count arrived and the range is settled (first > last: nothing to fetch).
    void rangeKnown(int first, int last, int count);
    void recordReceived(int number, const bm::Measurement& measurement);
    void finished(const bm::DownloadResult& result);

private:
    void onReplied(qint16 code, const QByteArray& reply);
    void onCount(const QByteArray& reply);
    void onFailed(qint16 code);
    void requestNext();
    void sendRecordRequest();
    void finish(DownloadEnd end);

    Transport* port_;
    DownloadSettings settings_;
    RetryingRequest request_;
    QTimer paceTimer_;
    QElapsedTimer sinceRequest_;
    QList<bool> arrived_; // by number - first
    DownloadResult result_;
    int next_ = 0;
    bool running_ = false;
};

} // namespace bm

Q_DECLARE_METATYPE(bm::DownloadResult)
