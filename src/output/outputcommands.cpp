#include "output/outputcommands.h"

#include "records/ansitext.h"
#include "output/commondialog.h"
#include "output/lineprinter.h"
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
    saver_ = FileSaver(dialog_, saver_.folder());
}

OutputCommands::OutputCommands(OutputSource source, CommonDialog* dialog, QObject* parent, LineDrawer drawer)
    : QObject(parent), source_(std::move(source)), dialog_(dialog), drawer_(std::move(drawer)),
      saver_(dialog, defaultSaveFolder())
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

QString OutputCommands::chooseFile(const QString& filter, const QString& defaultExt)
{
    return saver_.choose(proposedFileName(), filter, defaultExt);
}

void OutputCommands::reportPrintFailure(const QString& reason)
{
    dialog_->beep();
    dialog_->message(QMessageBox::Warning, tr("Printing Error!"),
                     tr("文件打印出错.") + QStringLiteral("\r\n") + reason);
}

void OutputCommands::savereading()
{
    const SaveChoice choice = readingSaveChoice();
    // The picture shows the window as it was before the dialog covered it.
    const QImage picture = source_.picture ? source_.picture() : QImage();
    const QString fileName = chooseFile(choice.filter, defaultExtFor(choice, dialog_->FilterIndex));
    if (fileName.isEmpty())
        return;
    if (dialog_->FilterIndex <= 1) {
        QString reason;
        const QByteArray bytes = jpegBytes(picture, &reason);
        saver_.write(fileName, bytes, reason);
        return;
    }
    saver_.write(fileName, textFileBytes(readingSaveLines(source_.reading())));
}

void OutputCommands::savetable()
{
    const SaveChoice choice = tableSaveChoice();
    const QString fileName = chooseFile(choice.filter, defaultExtFor(choice, dialog_->FilterIndex));
    if (fileName.isEmpty())
        return;
    const CellGrid grid = source_.grid();
    if (dialog_->FilterIndex <= 1) {
        saver_.write(fileName, textFileBytes(tableLines(grid, source_.recordcount())));
        return;
    }
    QString reason;
    const QByteArray bytes = xls::workbook(grid, &reason);
    saver_.write(fileName, bytes, reason);
}

void OutputCommands::savecsv()
{
    // The save command remembers its last file type in the dialog; this one leaves that be.
    const int filterIndex = dialog_->FilterIndex;
    const QString fileName = chooseFile(csvSaveChoice().filter, csvSaveChoice().firstExt);
    dialog_->FilterIndex = filterIndex;
    if (!fileName.isEmpty())
        saver_.write(fileName, source_.csv ? source_.csv() : QByteArray());
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
    const QStringList lines =
        reading ? readingPrintLines(source_.reading()) : tableLines(source_.grid(), source_.recordcount());
    const QString reason = drawer_(dialog_->printer(), lines, reading ? kReadingTopTwips : 0);
    // The printer refused to start: say so rather than leave the user waiting for paper.
    if (!reason.isEmpty())
        reportPrintFailure(reason);
}

} // namespace bm
