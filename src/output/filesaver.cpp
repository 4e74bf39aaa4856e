#include "output/filesaver.h"

#include "output/commondialog.h"
#include "records/savetargets.h"

#include <QDir>

namespace bm {

FileSaver::FileSaver(CommonDialog* dialog, QString folder) : dialog_(dialog), folder_(std::move(folder)) {}

QString FileSaver::choose(const QString& proposedName, const QString& filter, const QString& defaultExt)
{
    const DialogOutcome outcome = showSaveAs(*dialog_, proposedName, filter, defaultExt, folder_);
    if (outcome.cancelled())
        return {};
    // A dialog that failed has chosen no file: writing the proposed bare name would land anywhere.
    if (!outcome.accepted()) {
        reportFailure(dialog_->FileName, outcome.description);
        return {};
    }
    return dialog_->FileName;
}

bool FileSaver::write(const QString& fileName, const QByteArray& bytes, const QString& reason)
{
    const QString failure = reason.isEmpty() ? writeFileReplacing(fileName, bytes) : reason;
    if (failure.isEmpty())
        return true;
    reportFailure(fileName, failure);
    return false;
}

void FileSaver::reportFailure(const QString& fileName, const QString& reason)
{
    dialog_->beep();
    dialog_->message(QMessageBox::Warning, errorTitle(), errorText(fileName, reason));
}

QString FileSaver::errorTitle() { return tr("Saving Error!"); }

QString FileSaver::errorText(const QString& fileName, const QString& reason)
{
    return tr("文件保存出错.") + QStringLiteral("\r\n") + QDir::toNativeSeparators(fileName) + QStringLiteral("\r\n")
           + reason;
}

} // namespace bm
