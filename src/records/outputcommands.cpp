#include "records/outputcommands.h"

#include "records/ansitext.h"
#include "records/commondialog.h"
#include "records/lineprinter.h"
#include "records/savetargets.h"
#include "records/xlswriter.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPrinter>
#include <QWidget>

namespace bm {

namespace {

constexpr int kReadingTopTwips = 500;
constexpr int kPrintFlags = CommonDialog::kPrintReturnDC | CommonDialog::kPrintNoPageNums; // 264

QByteArray jpegBytes(const QImage& picture, QString* error)
{
    if (picture.isNull()) {
        *error = OutputCommands::tr("没有窗口图像");
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    if (!writer.write(picture)) {
        *error = writer.errorString();
        return {};
    }
    return bytes;
}

} // namespace

OutputCommands::OutputCommands(QWidget* window, OutputSource source, QObject* parent)
    : OutputCommands(std::move(source), nullptr, parent)
{
    ownDialog_ = std::make_unique<QtCommonDialog>(window);
    dialog_ = ownDialog_.get();
}

OutputCommands::OutputCommands(OutputSource source, CommonDialog* dialog, QObject* parent, LineDrawer drawer)
    : QObject(parent), source_(std::move(source)), dialog_(dialog), drawer_(std::move(drawer)),
      saveFolder_(defaultSaveFolder())
{
    if (!drawer_)
        drawer_ = [](QPagedPaintDevice& device, const QStringList& lines, int topTwips) {
            return printLines(device, lines, topTwips);
        };
}

OutputCommands::~OutputCommands() = default;

void OutputCommands::save()
{
    if (source_.realtime())
        savereading();
    else
        savetable();
}

bool OutputCommands::showSaveDialog(const QString& filter, const QString& defaultExt)
{
    const DialogOutcome outcome = showSaveAs(*dialog_, proposedFileName(), filter, defaultExt, saveFolder_);
    if (outcome.cancelled())
        return false;
    // A dialog that failed has chosen no file: writing the proposed bare name would land anywhere.
    if (!outcome.accepted()) {
        reportSaveFailure(dialog_->FileName, outcome.description);
        return false;
    }
    return true;
}

QString OutputCommands::saveErrorTitle()
{
    return tr("Saving Error!");
}

QString OutputCommands::saveErrorText(const QString& fileName, const QString& reason)
{
    return tr("文件保存出错.") + QStringLiteral("\r\n") + QDir::toNativeSeparators(fileName)
        + QStringLiteral("\r\n") + reason;
}

void OutputCommands::reportPrintFailure(const QString& reason)
{
    dialog_->beep();
    dialog_->message(QMessageBox::Warning, tr("Printing Error!"), tr("文件打印出错.") + QStringLiteral("\r\n") + reason);
}

void OutputCommands::reportSaveFailure(const QString& fileName, const QString& reason)
{
    dialog_->beep();
    dialog_->message(QMessageBox::Warning, saveErrorTitle(), saveErrorText(fileName, reason));
}

void OutputCommands::writeOrReport(const QString& fileName, const QByteArray& bytes)
{
    const QString reason = writeFileReplacing(fileName, bytes);
    if (!reason.isEmpty())
        reportSaveFailure(fileName, reason);
}

void OutputCommands::savereading()
{
    const SaveChoice choice = readingSaveChoice();
    // The picture shows the window as it was before the dialog covered it.
    const QImage picture = source_.picture ? source_.picture() : QImage();
    if (!showSaveDialog(choice.filter, defaultExtFor(choice, dialog_->FilterIndex)))
        return;
    const QString fileName = dialog_->FileName;
    if (dialog_->FilterIndex <= 1) {
        QString reason;
        const QByteArray bytes = jpegBytes(picture, &reason);
        if (bytes.isEmpty())
            reportSaveFailure(fileName, reason);
        else
            writeOrReport(fileName, bytes);
        return;
    }
    writeOrReport(fileName, textFileBytes(readingSaveLines(source_.reading())));
}

void OutputCommands::savetable()
{
    const SaveChoice choice = tableSaveChoice();
    if (!showSaveDialog(choice.filter, defaultExtFor(choice, dialog_->FilterIndex)))
        return;
    const QString fileName = dialog_->FileName;
    const CellGrid grid = source_.grid();
    if (dialog_->FilterIndex <= 1) {
        writeOrReport(fileName, textFileBytes(tableLines(grid, source_.recordcount())));
        return;
    }
    QString reason;
    const QByteArray bytes = xls::workbook(grid, &reason);
    if (bytes.isEmpty())
        reportSaveFailure(fileName, reason);
    else
        writeOrReport(fileName, bytes);
}

void OutputCommands::savecsv()
{
    // The save command remembers its last file type in the dialog; this one leaves that be.
    const int filterIndex = dialog_->FilterIndex;
    const bool chosen = showSaveDialog(csvSaveChoice().filter, csvSaveChoice().firstExt);
    dialog_->FilterIndex = filterIndex;
    if (chosen)
        writeOrReport(dialog_->FileName, source_.csv ? source_.csv() : QByteArray());
}

void OutputCommands::print()
{
    dialog_->Flags = kPrintFlags;
    dialog_->CancelError = true;
    const DialogOutcome outcome = dialog_->ShowPrinter();
    if (outcome.cancelled())
        return;
    if (!outcome.accepted()) {
        reportPrintFailure(outcome.description);
        return;
    }
    const bool reading = source_.realtime();
    const QStringList lines = reading ? readingPrintLines(source_.reading())
                                      : tableLines(source_.grid(), source_.recordcount());
    const QString reason = drawer_(dialog_->printer(), lines, reading ? kReadingTopTwips : 0);
    // The printer refused to start: say so rather than leave the user waiting for paper.
    if (!reason.isEmpty())
        reportPrintFailure(reason);
}

} // namespace bm
