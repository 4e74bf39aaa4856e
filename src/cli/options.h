#pragma once

#include "history/historystore.h"
#include "link/recorddownloader.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace bm::cli {

// --port: a COM number of the port map, a device path, or neither (search).
struct PortChoice {
    int number = 0; // COMn, 0: not given as a number
    QString path;   // a device path
    bool given() const { return number > 0 || !path.isEmpty(); }
};

enum class ReadFormat { Text, Csv, Json };
enum class FileFormat { Csv, Txt, Xls };

struct PortsOptions {
    PortChoice port;
    bool probe = false;
};

struct ReadOptions {
    PortChoice port;
    int count = 1;
    bool follow = false;
    ReadFormat format = ReadFormat::Text;
};

// Where and as what a download or a file is stored in the site history.
struct VisitOptions {
    QString database; // empty: the default file
    history::PointChoice point;
    history::Conditions conditions;
    QDateTime time; // invalid: now
};

struct DownloadOptions {
    PortChoice port;
    QString output; // empty: standard output
    FileFormat format = FileFormat::Csv;
    DownloadSettings settings;
    std::optional<VisitOptions> visit; // --site and --point: also kept as a visit
};

enum class SoilFormat { Text, Json };

struct SoilOptions {
    QString file; // "-": standard input
    SoilFormat format = SoilFormat::Text;
    QList<double> excludedSpacings; // metres
};

struct FopOptions {
    QString file; // "-": standard input
    SoilFormat format = SoilFormat::Text;
    double currentDistance_m = 0.0;
    double plateauPercent = 5.0;
    std::optional<double> limit_ohm;
    QList<double> excludedDistances; // metres
};

// A parsed subcommand, or the exit status to leave with at once (after
// --help, or a usage error already reported on standard error).
template <typename Options>
struct Parsed {
    std::optional<Options> options;
    int exitCode = 0;
};

// args: the subcommand's own arguments, without the program and subcommand names.
Parsed<PortsOptions> parsePorts(const QStringList& args);
Parsed<ReadOptions> parseRead(const QStringList& args);
Parsed<DownloadOptions> parseDownload(const QStringList& args);
Parsed<SoilOptions> parseSoil(const QStringList& args);
Parsed<FopOptions> parseFop(const QStringList& args);

// The tool's own usage, listing the subcommands.
QString toolUsage();

} // namespace bm::cli
