#include "history/ui/historysettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace bm::history {

namespace {
const QString kKey = QStringLiteral("history/database");
}

QString HistorySettings::databaseUrl()
{
    const QString url = QSettings().value(kKey).toString();
    return url.isEmpty() ? defaultDatabasePath() : url;
}

void HistorySettings::setDatabaseUrl(const QString& url) { QSettings().setValue(kKey, url); }

std::unique_ptr<HistoryStore> HistorySettings::open(QString* error)
{
    const QString url = databaseUrl();
    const ParsedTarget parsed = parseDatabaseTarget(url);
    if (!parsed.target) {
        *error = parsed.error;
        return nullptr;
    }
    // The default file's folder is made on first use; a chosen one must exist.
    if (url == defaultDatabasePath())
        QDir().mkpath(QFileInfo(url).absolutePath());
    StoreOpening opening = HistoryStore::open(*parsed.target);
    *error = opening.error;
    return std::move(opening.store);
}

} // namespace bm::history
