#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace bm {

// How a dialog ended, told the way the commands test it: error number 0 accepted,
// 32755 cancelled, anything else the dialog itself failed, with a description.
struct DialogOutcome {
    static constexpr int kAccepted = 0;
    static constexpr int kCancelled = 32755;
    static constexpr int kFailed = -32768;

    int error = kAccepted;
    QString description;

    bool accepted() const { return error == kAccepted; }
    bool cancelled() const { return error == kCancelled; }
};

// The one Save As and print dialog the save and print commands share, with the
// message box and beep they report through. FilterIndex outlives each use, so the
// next save starts from the file type chosen last, whichever command chose it.
class CommonDialog {
public:
    static constexpr int kOverwritePrompt = 0x2; // Save As: ask before replacing a file
    static constexpr int kPrintReturnDC = 0x100; // print: hand back the chosen printer
    static constexpr int kPrintNoPageNums = 0x8; // print: no page range

    virtual ~CommonDialog() = default;

    QString FileName;
    QString Filter;
    int FilterIndex = 1; // 1-based; read by the program, set by the dialog
    QString DefaultExt;
    QString InitDir;
    int Flags = 0;
    bool CancelError = false;

    // Modal. Accepted: FileName is the chosen full path (DefaultExt appended to a
    // name typed without extension) and FilterIndex the chosen file type.
    virtual DialogOutcome ShowSave() = 0;
    // Modal. Accepted: printer() is set up as chosen.
    virtual DialogOutcome ShowPrinter() = 0;
    // The printer that the print dialog prepares and the output goes to.
    virtual QPrinter& printer() = 0;

    virtual void beep() = 0;
    virtual void message(QMessageBox::Icon icon, const QString& title, const QString& text) = 0;
};

// The dialog over Qt's file and print dialogs, modal for the given window.
class QtCommonDialog : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget* window);
    ~QtCommonDialog() override;

    DialogOutcome ShowSave() override;
    DialogOutcome ShowPrinter() override;
    QPrinter& printer() override;
    void beep() override;
    void message(QMessageBox::Icon icon, const QString& title, const QString& text) override;

private:
    QWidget* window_;
    std::unique_ptr<QPrinter> printer_;
};

// The Save As dialog as every save of the program shows it: the proposed name,
// the filter and its extension, the folder (made when missing), an overwrite
// prompt, and cancel reported as an error.
DialogOutcome showSaveAs(CommonDialog& dialog, const QString& fileName, const QString& filter,
                         const QString& defaultExt, const QString& folder);

} // namespace bm
