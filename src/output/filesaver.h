#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

namespace bm {

class CommonDialog;

// The one way every window saves a file: the Save As dialog with a proposed
// name, a filter and its extension, in the save folder; the bytes written whole
// (a temporary file and a rename); a failure reported with the file and the
// reason, always under the same title.
class FileSaver {
    Q_DECLARE_TR_FUNCTIONS(FileSaver)
public:
    FileSaver(CommonDialog* dialog, QString folder);

    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }

    // The chosen file; "" when cancelled, or when the dialog failed (reported).
    QString choose(const QString& proposedName, const QString& filter, const QString& defaultExt);
    // Writes the bytes, or reports `reason` when they could not be made. Whether the file was saved.
    bool write(const QString& fileName, const QByteArray& bytes, const QString& reason = {});
    void reportFailure(const QString& fileName, const QString& reason);

    static QString errorTitle();
    static QString errorText(const QString& fileName, const QString& reason);

private:
    CommonDialog* dialog_;
    QString folder_;
};

} // namespace bm
