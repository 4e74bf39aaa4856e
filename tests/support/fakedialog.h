#pragma once

#include "output/commondialog.h"
#include "records/savetargets.h"

#include <QList>
#include <QPrinter>

#include <functional>

// A scripted dialog: each Show answers with the next scripted reply and records what it was shown.
class FakeDialog : public bm::CommonDialog {
public:
    struct SaveReply {
        int error = bm::DialogOutcome::kAccepted;
        QString typedName;      // DefaultExt is appended when it has no extension
        int chosenFilter = 0;   // 0 keeps the file type offered
        bool exactName = false; // an existing entry picked: taken as it is
    };
    struct SaveSeen {
        QString fileName, filter, defaultExt, initDir;
        int flags = 0, filterIndex = 0;
        bool cancelError = false;
    };
    struct Message {
        QMessageBox::Icon icon;
        QString title, text;
    };

    QList<SaveReply> saveReplies;
    QList<bm::DialogOutcome> printReplies;
    QList<SaveSeen> saves;
    QList<int> printFlags;
    QList<Message> messages;
    int beeps = 0;
    std::function<void()> onShow;
    QPrinter pdf{QPrinter::HighResolution};

    FakeDialog() { pdf.setOutputFormat(QPrinter::PdfFormat); }

    bm::DialogOutcome ShowSave() override
    {
        if (onShow)
            onShow();
        saves.append({FileName, Filter, DefaultExt, InitDir, Flags, FilterIndex, CancelError});
        const SaveReply reply = saveReplies.isEmpty() ? SaveReply{} : saveReplies.takeFirst();
        if (reply.error != bm::DialogOutcome::kAccepted)
            return {reply.error, QStringLiteral("scripted")};
        FileName = reply.exactName ? reply.typedName : bm::withDefaultExt(reply.typedName, DefaultExt);
        FilterIndex = reply.chosenFilter > 0 ? reply.chosenFilter : FilterIndex;
        return {};
    }
    bm::DialogOutcome ShowPrinter() override
    {
        printFlags.append(Flags);
        return printReplies.isEmpty() ? bm::DialogOutcome{} : printReplies.takeFirst();
    }
    QPrinter& printer() override { return pdf; }
    void beep() override { ++beeps; }
    void message(QMessageBox::Icon icon, const QString& title, const QString& text) override
    {
        messages.append({icon, title, text});
    }
};
