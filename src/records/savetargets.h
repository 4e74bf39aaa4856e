#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace bm {

// What one save command offers in the Save As dialog.
struct SaveChoice {
    QString filter;    // "desc|pattern|desc|pattern|"
    QString firstExt;  // default extension while file type 1 was last used
    QString secondExt; // ... and while type 2 or higher was
};

SaveChoice readingSaveChoice(); // picture or text
SaveChoice tableSaveChoice();   // text or spreadsheet
SaveChoice csvSaveChoice();     // the records as CSV

// The name every save proposes.
QString proposedFileName();

// The extension implied by the file type left by the dialog's previous use.
QString defaultExtFor(const SaveChoice& choice, int filterIndex);

// Qt name filters for a "desc|pattern|..." filter text, in order.
QStringList qtNameFilters(const QString& filter);

// The name with ext appended when it has no extension of its own.
QString withDefaultExt(const QString& fileName, const QString& ext);

// C:\Quillmarsh on Windows, ~/Quillmarsh elsewhere.
QString defaultSaveFolder();

// Creates the folder when nothing of that name exists. A failure is not fatal:
// the dialog simply opens elsewhere. Returns whether the folder is there.
bool prepareSaveFolder(const QString& folder);

// Replaces the file's contents with bytes, through a temporary file and a rename, so a
// failed write never destroys the file it was replacing. Devices (no file to replace)
// are written directly. Returns the reason on failure, an empty text on success.
QString writeFileReplacing(const QString& path, const QByteArray& bytes);

} // namespace bm
