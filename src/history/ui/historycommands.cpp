#include "history/ui/historycommands.h"

#include "history/keyfigure.h"
#include "history/readingsource.h"
#include "history/ui/historysettings.h"
#include "history/ui/historywindow.h"
#include "history/ui/savevisitdialog.h"
#include "output/commondialog.h"
#include "records/recordtable.h"

namespace bm::history {

HistoryCommands::HistoryCommands(QWidget* window, const RecordTable& table, CommonDialog* dialog)
    : QObject(window), window_(window), table_(table), ownDialog_(dialog ? nullptr : new QtCommonDialog(window)),
      dialog_(dialog ? dialog : ownDialog_.get()),
      runDialog_([](SaveVisitDialog& d) { return d.exec() == QDialog::Accepted; })
{
}

HistoryCommands::~HistoryCommands() { delete historyWindow_.data(); }

void HistoryCommands::saveTable()
{
    QList<NumberedMeasurement> records;
    for (int k = 1; k < table_.Rows(); ++k) {
        if (const Measurement* m = table_.record(k))
            records.append({k, *m});
    }
    if (records.isEmpty())
        return tell(true, tr("记录表中没有可保存的记录。"));
    QString error;
    const std::unique_ptr<HistoryStore> store = HistorySettings::open(&error);
    if (!store)
        return tell(true, tr("无法打开现场记录数据库:\n%1").arg(error));
    SaveVisitDialog dialog(
        store->sites().value.value_or(QList<SiteSummary>()),
        [&store](const QString& site) { return store->points(site).value.value_or(QList<TestPoint>()); }, window_);
    if (!runDialog_(dialog))
        return;
    const VisitChoice choice = dialog.choice();
    Visit visit;
    visit.timeUtc = choice.time.toUTC();
    visit.conditions = choice.conditions;
    visit.conditions.source = QStringLiteral("records table");
    visit.readings = readingsFromRecords(records);
    visit.results = resultsFor(visit.readings);
    const auto id = store->addVisit(choice.point, visit);
    if (!id.ok())
        return tell(true, tr("未保存到现场记录:\n%1").arg(id.error));
    tell(false, tr("已保存 %1 条记录: %2 / %3。")
                    .arg(visit.readings.size())
                    .arg(choice.point.siteName, choice.point.pointName));
    if (historyWindow_)
        historyWindow_->reload();
}

void HistoryCommands::showWindow()
{
    if (!historyWindow_) {
        // Its own dialogs over itself, unless a test supplied one.
        historyWindow_ = new HistoryWindow(ownDialog_ ? nullptr : dialog_, window_);
        historyWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    historyWindow_->reload();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

HistoryWindow* HistoryCommands::window() const { return historyWindow_; }

void HistoryCommands::tell(bool warning, const QString& text)
{
    if (warning)
        dialog_->beep();
    dialog_->message(warning ? QMessageBox::Warning : QMessageBox::Information, tr("现场记录"), text);
}

} // namespace bm::history
