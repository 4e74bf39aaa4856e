// Qt's file and print dialogs behind the common dialog, answered the way a user would.
#include "records/commondialog.h"
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
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            whenShown<Dialog>(act);
            return;
        }
        act(dialog);
    });
}

} // namespace

class TestCommonDialog : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QWidget window_;

    void prepare(CommonDialog& dialog)
    {
        dialog.FileName = proposedFileName();
        dialog.Filter = tableSaveChoice().filter;
        dialog.DefaultExt = defaultExtFor(tableSaveChoice(), dialog.FilterIndex);
        dialog.InitDir = tmp_.path();
        dialog.Flags = CommonDialog::kOverwritePrompt;
        dialog.CancelError = true;
    }

private slots:
    void saveOffersTheFiltersAndReportsTheChosenTypeAndPath()
    {
        QtCommonDialog dialog(&window_);
        prepare(dialog);
        QStringList offered;
        QString proposed;
        whenShown<QFileDialog>([&](QFileDialog* d) {
            offered = d->nameFilters();
            proposed = d->findChild<QLineEdit*>()->text();
            d->selectNameFilter(offered.value(1));
            d->findChild<QLineEdit*>()->setText("records");
            static_cast<QDialog*>(d)->accept(); // as the Save button does
        });
        QVERIFY(dialog.ShowSave().accepted());
        QCOMPARE(offered, (QStringList{"txt格式 (*.txt)", "excel格式 (*.xls)"}));
        QCOMPARE(proposed, "Quillmarsh");
        QCOMPARE(dialog.FilterIndex, 2);
        QCOMPARE(dialog.FileName, QDir(tmp_.path()).filePath("records.txt"));

        // The next use starts from the type chosen last.
        prepare(dialog);
        QString selected;
        whenShown<QFileDialog>([&](QFileDialog* d) {
            selected = d->selectedNameFilter();
            d->findChild<QLineEdit*>()->setText("more");
            static_cast<QDialog*>(d)->accept(); // as the Save button does
        });
        QVERIFY(dialog.ShowSave().accepted());
        QCOMPARE(selected, "excel格式 (*.xls)");
        QCOMPARE(dialog.FileName, QDir(tmp_.path()).filePath("more.xls"));
    }

    void cancelIsError32755AndKeepsTheFileType()
    {
        QtCommonDialog dialog(&window_);
        prepare(dialog);
        dialog.FilterIndex = 2;
        whenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
        const DialogOutcome outcome = dialog.ShowSave();
        QCOMPARE(outcome.error, 32755);
        QCOMPARE(dialog.FilterIndex, 2);
        QCOMPARE(dialog.FileName, "Quillmarsh");

        whenShown<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
        dialog.Flags = CommonDialog::kPrintReturnDC | CommonDialog::kPrintNoPageNums;
        QVERIFY(dialog.ShowPrinter().cancelled());
    }

    void printDialogOffersNoPageRange()
    {
        QtCommonDialog dialog(&window_);
        dialog.Flags = 264;
        dialog.CancelError = true;
        bool pageRange = true;
        whenShown<QPrintDialog>([&](QPrintDialog* d) {
            pageRange = d->testOption(QAbstractPrintDialog::PrintPageRange);
            d->reject();
        });
        dialog.ShowPrinter();
        QVERIFY(!pageRange);
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
