#pragma once

#include "cli/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDateTime>

namespace bm::cli {

enum class ListFormat { Text, Json, Csv };

struct HistoryOptions {
    enum class Action { Add, Sites, Show, Export, Import };
    Action action = Action::Sites;
    QString database;
    ListFormat format = ListFormat::Text;
    QString site;
    QString point;
    QString file; // add: the CSV; import: the package; export: -o (empty: standard output)
    VisitOptions visit;
};

// `history ACTION ...`: args without the program and "history".
Parsed<HistoryOptions> parseHistory(const QStringList& args);

// The options that store a visit, shared by `history add` and `download`.
class VisitOptionSet {
public:
    VisitOptionSet();
    void addTo(QCommandLineParser& parser) const;
    // True when --site or --point was given.
    bool given(const QCommandLineParser& parser) const;
    // The options' values, or the usage problem.
    std::optional<VisitOptions> read(const QCommandLineParser& parser, QString* problem) const;

private:
    QList<QCommandLineOption> options_;
};

} // namespace bm::cli
