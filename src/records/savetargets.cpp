#include "records/savetargets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace bm {

// The filters are shown in the Save As dialog, so they follow the interface language.
SaveChoice readingSaveChoice()
{
    return {QCoreApplication::translate("bm::OutputCommands", "jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|"),
            QStringLiteral(".jpg"), QStringLiteral(".txt")};
}

SaveChoice tableSaveChoice()
{
    return {QCoreApplication::translate("bm::OutputCommands", "txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|"),
            QStringLiteral(".txt"), QStringLiteral(".xls")};
}

SaveChoice csvSaveChoice()
{
    return {QCoreApplication::translate("bm::OutputCommands", "csv格式 (*.csv)|*.csv|"), QStringLiteral(".csv"),
            QStringLiteral(".csv")};
}

QString proposedFileName() { return QStringLiteral("Quillmarsh"); }

QString defaultExtFor(const SaveChoice& choice, int filterIndex)
{
    return filterIndex <= 1 ? choice.firstExt : choice.secondExt;
}

QStringList qtNameFilters(const QString& filter)
{
    QStringList pieces = filter.split(QLatin1Char('|'));
    if (!pieces.isEmpty() && pieces.last().isEmpty())
        pieces.removeLast();
    QStringList filters;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        const QString& desc = pieces[i];
        QString patterns = pieces[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the trailing parentheses; the descriptions usually carry them already.
        const QString suffix = QLatin1Char('(') + patterns.trimmed() + QLatin1Char(')');
        filters << (desc.trimmed().endsWith(suffix) ? desc : desc + QLatin1Char(' ') + suffix);
    }
    return filters;
}

QString withDefaultExt(const QString& fileName, const QString& ext)
{
    if (fileName.isEmpty() || ext.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    QString dotted = ext.startsWith(QLatin1Char('.')) ? ext : QLatin1Char('.') + ext;
    if (fileName.endsWith(QLatin1Char('.')))
        dotted.remove(0, 1);
    return fileName + dotted;
}

QString defaultSaveFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Quillmarsh");
#else
    return QDir::homePath() + QStringLiteral("/Quillmarsh");
#endif
}

bool prepareSaveFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.exists())
        return info.isDir();
    return QDir().mkpath(folder);
}

namespace {

// Keeps writing after a short write, so the error that stopped it is the one reported.
QString writeAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += n;
    }
    return {};
}

} // namespace

QString writeFileReplacing(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QFile::tr("Filename refers to a directory");
    if (info.exists() && !info.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return device.errorString();
        return writeAll(device, bytes);
    }
    // Unbuffered: a buffered flush can take a short write (a full disk) for success.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const QString reason = writeAll(file, bytes);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace bm
