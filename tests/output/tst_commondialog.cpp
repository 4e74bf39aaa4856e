// Qt's file and print dialogs behind the common dialog, answered the way a user would.
#include "output/commondialog.h"
#include "records/savetargets.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace bm;

namespace {

// Acts on the modal dialog once it is up.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            act(dialog);
        else
            whenShown<Dialog>(act);
    });
}

} // namespace

class TestCommonDialog : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QWidget window_;

    DialogOutcome showSave(CommonDialog& dialog, std::function<void(QFileDialog*)> act)
    {
        dialog.FileName = proposedFileName();
        dialog.Filter = tableSaveChoice().filter;
        dialog.DefaultExt = defaultExtFor(tableSaveChoice(), dialog.FilterIndex);
        dialog.InitDir = tmp_.path();
        dialog.Flags = CommonDialog::kOverwritePrompt;
        dialog.CancelError = true;
        whenShown<QFileDialog>(act);
        return dialog.ShowSave();
    }

private slots:
    void saveReportsTheChosenTypeAndPathOffersItNextTimeAndCancelIsError32755()
    {
        QtCommonDialog dialog(&window_);
        QStringList offered;
        QString proposed, selected;
        QVERIFY(showSave(dialog, [&](QFileDialog* d) {
                    offered = d->nameFilters();
                    proposed = d->findChild<QLineEdit*>()->text();
                    d->selectNameFilter(offered.value(1));
                    d->findChild<QLineEdit*>()->setText("records");
                    static_cast<QDialog*>(d)->accept(); // as the Save button does
                }).accepted());
        QCOMPARE(offered, (QStringList{"txt格式 (*.txt)", "excel格式 (*.xls)"}));
        QCOMPARE(proposed, "Quillmarsh");
        QCOMPARE(dialog.FilterIndex, 2);
        QCOMPARE(dialog.FileName, QDir(tmp_.path()).filePath("records.txt"));

        QVERIFY(showSave(dialog, [&](QFileDialog* d) {
                    selected = d->selectedNameFilter();
                    d->findChild<QLineEdit*>()->setText("more");
                    static_cast<QDialog*>(d)->accept();
                }).accepted());
        QCOMPARE(selected, "excel格式 (*.xls)");
        QCOMPARE(dialog.FileName, QDir(tmp_.path()).filePath("more.xls"));

        // Cancel is error 32755 and keeps the type; the print dialog offers no page range.
        QCOMPARE(showSave(dialog, [](QFileDialog* d) { d->reject(); }).error, 32755);
        QCOMPARE(dialog.FilterIndex, 2);

        bool pageRange = true;
        whenShown<QPrintDialog>([&](QPrintDialog* d) {
            pageRange = d->testOption(QAbstractPrintDialog::PrintPageRange);
            d->reject();
        });
        dialog.Flags = 264;
        QVERIFY(dialog.ShowPrinter().cancelled());
        QVERIFY(!pageRange);
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
