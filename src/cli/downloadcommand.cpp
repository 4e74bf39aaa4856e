#include "cli/downloadcommand.h"

#include "cli/cli.h"
#include "cli/downloadfile.h"
#include "cli/historycommand.h"
#include "cli/interruptwatch.h"
#include "cli/progressline.h"
#include "cli/terminal.h"
#include "cli/testerport.h"
#include "history/readingsource.h"
#include "records/savetargets.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace bm::cli {

namespace {

// Runs the download to its end, with the progress line and Ctrl-C handled.
DownloadResult fetch(CommPort& port, const DownloadSettings& settings, const InterruptWatch& watch,
                     QList<NumberedMeasurement>& records)
{
    RecordDownloader downloader(&port, settings);
    ProgressLine progress(stderrIsTerminal());
    DownloadResult result;
    result.end = DownloadEnd::Stopped;
    int first = 1, total = 0;
    QObject::connect(&downloader, &RecordDownloader::rangeKnown, &downloader, [&](int from, int to, int count) {
        if (settings.last > count)
            note(Cli::tr("The tester holds %1 records.").arg(count));
        first = from;
        total = std::max(0, to - from + 1);
    });
    QObject::connect(&downloader, &RecordDownloader::recordReceived, &downloader,
                     [&](int number, const Measurement& m) {
                         records.append({number, m});
                         progress.update(number - first + 1, total);
                     });
    QObject::connect(&downloader, &RecordDownloader::finished, &downloader,
                     [&result](const DownloadResult& r) { result = r; });
    QObject::connect(&watch, &InterruptWatch::interrupted, &downloader, &RecordDownloader::stop);
    waitFor(&downloader, &RecordDownloader::finished, watch, [&downloader] { downloader.start(); });
    progress.finish();
    return result;
}

// Says why the download ended early and returns the exit status.
int report(const DownloadResult& result, const DownloadSettings& settings, const QString& lostReason)
{
    const QString missing = rangesText(result.missing);
    switch (result.end) {
    case DownloadEnd::Complete: return kDone;
    case DownloadEnd::NoCount:
        complain(Cli::tr("the tester did not report how many records it holds"));
        return kIncomplete;
    case DownloadEnd::Incomplete:
        complain(Cli::tr("no reply after %1 retries; missing records: %2").arg(settings.retries).arg(missing));
        return kIncomplete;
    case DownloadEnd::LinkLost:
        complain(Cli::tr("the link to the tester was lost (%1); missing records: %2").arg(lostReason, missing));
        return kIncomplete;
    case DownloadEnd::Stopped:
        complain(missing.isEmpty() ? Cli::tr("interrupted") : Cli::tr("interrupted; missing records: %1").arg(missing));
        return kInterrupted;
    }
    return kIncomplete;
}

// The file, or standard output; false (reported) when it cannot be written.
bool save(const DownloadOptions& options, const QList<NumberedMeasurement>& records, int lastRow)
{
    QString error;
    const QByteArray bytes = downloadFileBytes(options.format, records, lastRow, &error);
    if (bytes.isEmpty() && !error.isEmpty()) {
        complain(error);
        return false;
    }
    if (options.output.isEmpty()) {
        writeOut(bytes);
        return true;
    }
    error = writeFileReplacing(options.output, bytes);
    if (!error.isEmpty())
        complain(Cli::tr("cannot write %1: %2").arg(options.output, error));
    return error.isEmpty();
}

} // namespace

int runDownload(const DownloadOptions& options, const InterruptWatch& watch)
{
    // A download can take minutes: a folder that is not there is said at once.
    if (!options.output.isEmpty() && !QFileInfo(options.output).absoluteDir().exists()) {
        complain(Cli::tr("cannot write %1: no such folder").arg(options.output));
        return kBadUsage;
    }
    CommPort port;
    if (const int status = connectTester(port, options.port, watch); status != kDone)
        return status;
    QString lostReason;
    QObject::connect(&port, &Transport::lost, &port, [&lostReason](const QString& why) { lostReason = why; });
    QList<NumberedMeasurement> records;
    const DownloadResult result = fetch(port, options.settings, watch, records);
    const int status = report(result, options.settings, lostReason);
    if (result.end == DownloadEnd::NoCount)
        return status;
    if (!save(options, records, result.last))
        return status == kDone ? kBadUsage : status;
    if (options.visit && status == kDone)
        return storeVisit(*options.visit, history::readingsFromRecords(records),
                          Cli::tr("tester on %1").arg(port.devicePath()), IdTo::Stderr);
    // Part of a download is no visit: the file keeps it, the history does not.
    if (options.visit)
        note(Cli::tr("Not stored in the site history: the download is incomplete."));
    return status;
}

} // namespace bm::cli
