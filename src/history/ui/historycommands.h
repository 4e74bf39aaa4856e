#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace bm {
class CommonDialog;
class RecordTable;
} // namespace bm

namespace bm::history {

class HistoryWindow;
class SaveVisitDialog;

// The main window's two history entries: the records table stored as a visit,
// and the history window.
class HistoryCommands : public QObject {
    Q_OBJECT
public:
    // Messages through the dialog (not owned; null: Qt's own, over window).
    HistoryCommands(QWidget* window, const RecordTable& table, CommonDialog* dialog = nullptr);
    ~HistoryCommands() override;

    // Runs the dialog; tests answer it instead. True when accepted.
    void setDialogRunner(std::function<bool(SaveVisitDialog&)> run) { runDialog_ = std::move(run); }

    // 保存到现场记录…
    void saveTable();
    // 现场记录: opens the window, or raises the one already open.
    void showWindow();
    HistoryWindow* window() const;

private:
    void tell(bool warning, const QString& text);

    QWidget* window_;
    const RecordTable& table_;
    std::unique_ptr<CommonDialog> ownDialog_;
    CommonDialog* dialog_;
    std::function<bool(SaveVisitDialog&)> runDialog_;
    QPointer<HistoryWindow> historyWindow_;
};

} // namespace bm::history
