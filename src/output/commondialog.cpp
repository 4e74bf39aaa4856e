#include "output/commondialog.h"

#include "records/savetargets.h"

#include <QCoreApplication>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace bm {

QtCommonDialog::QtCommonDialog(QWidget* window) : window_(window) {}

QtCommonDialog::~QtCommonDialog() = default;

DialogOutcome QtCommonDialog::ShowSave()
{
    const QStringList filters = qtNameFilters(Filter);
    QFileDialog dialog(window_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(FilterIndex - 1));
    dialog.setDirectory(InitDir);
    dialog.selectFile(FileName);
    // Qt appends the suffix itself; DefaultExt is applied below as well for names it leaves alone.
    QString suffix = DefaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & kOverwritePrompt));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (CancelError)
            return {DialogOutcome::kCancelled, QStringLiteral("Cancel was selected.")};
        return {};
    }
    FileName = withDefaultExt(dialog.selectedFiles().constFirst(), DefaultExt);
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        FilterIndex = static_cast<int>(chosen) + 1;
    return {};
}

QPrinter& QtCommonDialog::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

DialogOutcome QtCommonDialog::ShowPrinter()
{
    QPrinter& target = printer();
    QPrintDialog dialog(&target, window_);
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    if (Flags & kPrintNoPageNums) {
        options &= ~QAbstractPrintDialog::PrintPageRange;
        options &= ~QAbstractPrintDialog::PrintCurrentPage;
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted) {
        if (CancelError)
            return {DialogOutcome::kCancelled, QStringLiteral("Cancel was selected.")};
        return {};
    }
    if (!target.isValid())
        return {DialogOutcome::kFailed,
                QCoreApplication::translate("bm::OutputCommands", "打印机不可用: ") + target.printerName()};
    return {};
}

void QtCommonDialog::beep() { QApplication::beep(); }

void QtCommonDialog::message(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, window_);
    box.exec();
}

DialogOutcome showSaveAs(CommonDialog& dialog, const QString& fileName, const QString& filter,
                         const QString& defaultExt, const QString& folder)
{
    dialog.FileName = fileName;
    dialog.Filter = filter;
    dialog.DefaultExt = defaultExt;
    dialog.InitDir = QDir::toNativeSeparators(folder);
    prepareSaveFolder(folder); // when it cannot be made, the dialog opens elsewhere
    dialog.Flags = CommonDialog::kOverwritePrompt;
    dialog.CancelError = true;
    return dialog.ShowSave();
}

} // namespace bm
