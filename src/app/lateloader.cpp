#include "app/latewindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace bm {

namespace {

// The module's file in the folder, with the platform's suffix, or empty.
QString moduleIn(const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QString::fromLatin1(kLateWindowsModule) + QStringLiteral(".*")}, QDir::Files)) {
        if (QLibrary::isLibrary(name))
            return dir.filePath(name);
    }
    return {};
}

// Resolves the entry once; later calls reuse it. The library is never unloaded.
class ModuleEntry {
public:
    explicit ModuleEntry(QStringList folders) : folders_(std::move(folders)) {}

    LateWindowsEntry entry(LateWindowsLoad& load)
    {
        if (entry_)
            return entry_;
        for (const QString& folder : folders_) {
            path_ = moduleIn(folder);
            if (!path_.isEmpty())
                break;
        }
        if (path_.isEmpty()) {
            load.failure = LateFailure::Missing;
            load.detail = QDir::toNativeSeparators(folders_.join(QLatin1Char('\n')));
            return nullptr;
        }
        QLibrary library(path_);
        entry_ = reinterpret_cast<LateWindowsEntry>(library.resolve(kLateWindowsEntry));
        if (!entry_) {
            load.failure = LateFailure::Unloadable;
            load.detail = library.errorString();
        }
        return entry_;
    }

    QString path() const { return QDir::toNativeSeparators(path_); }

private:
    QStringList folders_;
    QString path_;
    LateWindowsEntry entry_ = nullptr;
};

} // namespace

LateWindowsMaker lateWindowsModule(QStringList folders)
{
    auto module = std::make_shared<ModuleEntry>(std::move(folders));
    return [module](const LateWindowsContext& context) {
        LateWindowsLoad load;
        if (const LateWindowsEntry entry = module->entry(load)) {
            load.windows.reset(entry(BRACKENMOOR_VERSION, &context));
            if (!load.windows) {
                load.failure = LateFailure::OtherVersion;
                load.detail = module->path();
            }
        }
        return load;
    };
}

QStringList lateWindowsFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), QDir::cleanPath(program.filePath(QStringLiteral(BRACKENMOOR_LATE_FOLDER)))};
}

} // namespace bm
