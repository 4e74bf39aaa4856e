#include "link/recorddownloader.h"

#include "link/protocol.h"

#include <algorithm>

namespace bm {

RecordDownloader::RecordDownloader(Transport* port, const DownloadSettings& settings, QObject* parent)
    : QObject(parent), port_(port), settings_(settings), request_(port, this), paceTimer_(this)
{
    request_.setTimeout(settings.timeoutMs);
    request_.setRetries(settings.retries);
    paceTimer_.setSingleShot(true);
    paceTimer_.setTimerType(Qt::PreciseTimer);
    connect(&paceTimer_, &QTimer::timeout, this, &RecordDownloader::sendRecordRequest);
    connect(&request_, &RetryingRequest::replied, this, &RecordDownloader::onReplied);
    connect(&request_, &RetryingRequest::failed, this, &RecordDownloader::onFailed);
    connect(port_, &Transport::lost, this, [this] {
        if (running_)
            finish(DownloadEnd::LinkLost);
    });
}

void RecordDownloader::start()
{
    running_ = true;
    result_ = {};
    arrived_.clear();
    sinceRequest_.invalidate();
    request_.send(protocol::kCount);
}

void RecordDownloader::stop()
{
    if (running_)
        finish(DownloadEnd::Stopped);
}

void RecordDownloader::onReplied(qint16 code, const QByteArray& reply)
{
    if (!running_)
        return;
    if (code == protocol::kCount) {
        onCount(reply);
        return;
    }
    if (const auto m = protocol::decodeMeasurement(reply)) {
        arrived_[code - result_.first] = true;
        emit recordReceived(code, *m);
    }
    if (!running_)
        return; // a receiver stopped the download
    ++next_;
    requestNext();
}

void RecordDownloader::onCount(const QByteArray& reply)
{
    const auto count = protocol::decodeCount(reply);
    if (!count) {
        finish(DownloadEnd::NoCount);
        return;
    }
    // Record numbers stop at 10000: beyond that the codes are commands.
    result_.count = std::min<int>(*count, protocol::kMaxRecord);
    result_.first = std::max(1, settings_.first);
    result_.last = settings_.last > 0 ? std::min(settings_.last, result_.count) : result_.count;
    arrived_.fill(false, std::max(0, result_.last - result_.first + 1));
    emit rangeKnown(result_.first, result_.last, result_.count);
    next_ = result_.first;
    if (running_)
        requestNext();
}

void RecordDownloader::onFailed(qint16 code)
{
    if (!running_)
        return;
    if (code == protocol::kCount) {
        finish(DownloadEnd::NoCount);
        return;
    }
    ++next_; // left missing: reported at the end
    requestNext();
}

void RecordDownloader::requestNext()
{
    if (next_ > result_.last) {
        finish(DownloadEnd::Complete);
        return;
    }
    if (settings_.pace == Pace::Compatible && sinceRequest_.isValid()) {
        const qint64 wait = kCompatibleIntervalMs - sinceRequest_.elapsed();
        if (wait > 0) {
            paceTimer_.start(int(wait));
            return;
        }
    }
    sendRecordRequest();
}

void RecordDownloader::sendRecordRequest()
{
    sinceRequest_.start();
    request_.send(static_cast<qint16>(next_));
}

void RecordDownloader::finish(DownloadEnd end)
{
    running_ = false;
    request_.cancel();
    paceTimer_.stop();
    result_.missing.clear();
    for (qsizetype i = 0; i < arrived_.size(); ++i) {
        if (!arrived_[i])
            result_.missing.append(result_.first + int(i));
    }
    if (end == DownloadEnd::Complete && !result_.missing.isEmpty())
        end = DownloadEnd::Incomplete;
    result_.end = end;
    emit finished(result_);
}

} // namespace bm
