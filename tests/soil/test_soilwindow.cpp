// The soil window over a records table: it follows records, clears, the include
// boxes and the points' layouts, and its PDF and CSV exports hold the figures and
// are written whole or not at all.
#include "fakedialog.h"
#include "files.h"
#include "pdftext.h"
#include "link/protocol.h"
#include "records/recordtable.h"
#include "soil/soilinput.h"
#include "soil/ui/soilchart.h"
#include "soil/ui/soilfigures.h"
#include "soil/ui/soilpointmodel.h"
#include "soil/ui/soilsession.h"
#include "soil/ui/soilwindow.h"
#include "soil/ui/verdicttext.h"
#include "soil/wenner.h"

#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QScatterSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace bm;
using namespace bm::soil;

namespace {

// A stored record as the tester sends it; the spacing in tenths of a metre.
Measurement record(quint16 main, quint8 format, quint16 spacing = 0)
{
    QByteArray b;
    for (quint16 v : {main, quint16(format), quint16(0), quint16(0), spacing})
        b.append(char(v & 0xFF)).append(char(v >> 8));
    return *protocol::decodeMeasurement(b);
}

// A Wenner reading in Ωm with one decimal.
Measurement rhoRecord(double spacing, double rho, bool overloaded = false)
{
    return record(overloaded ? Quantity::kOverloadCount : quint16(std::lround(rho * 10)), 0x31,
                  quint16(std::lround(spacing * 10)));
}

// 300 Ω·m over 60 Ω·m from 3 m (times scale): records first..first+6, then an
// overloaded one and a resistance.
void appendSounding(RecordTable& table, int first, double scale = 1.0)
{
    int k = first;
    for (const double a : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0})
        table.appendRecord(k++, rhoRecord(a, wennerApparent(a, 300.0 * scale, 60.0 * scale, 3.0)));
    table.appendRecord(k++, rhoRecord(64.0, 100.0, true));
    table.appendRecord(k++, record(500, 0x12)); // 5.00Ω
}

} // namespace

class TestSoilWindow : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    std::unique_ptr<RecordTable> table_;
    std::unique_ptr<FakeDialog> dialog_;
    std::unique_ptr<SoilWindow> window_;

    template <typename T>
    T* child(const char* name)
    {
        return window_->findChild<T*>(name);
    }

    void saveAs(const QString& path) { dialog_->saveReplies = {{DialogOutcome::kAccepted, path, 0, true}}; }
    // The figures or the plain message, and n points in the chart and the list.
    void expectShown(int n)
    {
        QCOMPARE(child<QLabel>("soilEmpty")->isVisible(), (n == 0));
        QCOMPARE(child<QLabel>("soilFigures")->isVisible(), (n > 0));
        QCOMPARE(window_->chart().includedSeries()->count(), n);
        QCOMPARE(child<QTableView>("soilPoints")->model()->rowCount(), n);
    }

private slots:
    void init()
    {
        table_ = std::make_unique<RecordTable>();
        dialog_ = std::make_unique<FakeDialog>();
        window_ = std::make_unique<SoilWindow>(*table_, dialog_.get());
        window_->setSaveFolder(tmp_.path());
        window_->show();
    }

    void cleanup() { window_.reset(); }

    // A download adds records one by one: they are fitted together. A hidden window waits until shown.
    void followsRecordsAndClearWithAPlainMessageWhenEmpty()
    {
        const SoilAnalysis none = window_->session().analysis();
        QCOMPARE(none.verdict, SoilAnalysis::Verdict::NoPoints);
        QCOMPARE(child<QLabel>("soilEmpty")->text(), QStringLiteral("没有可分析的读数。"));
        expectShown(0);
        const int refreshes = window_->session().refreshCount();
        appendSounding(*table_, 1);
        QTRY_COMPARE(window_->session().points().size(), size_t(7));
        QCOMPARE(window_->session().refreshCount(), refreshes + 1);
        QCOMPARE(window_->session().points().back().record, 7);
        const SoilAnalysis& a = window_->session().analysis(); // how well it fits: test_soilmodel
        QVERIFY(a.twoLayer);
        QVERIFY(child<QLabel>("soilFigures")->text().contains(figure(a.twoLayer->rho1_ohm_m)));
        expectShown(7);
        QVERIFY(window_->chart().twoLayerSeries()->count() > 20);
        QCOMPARE(window_->chart().uniformSeries()->count(), 2);

        window_->hide();
        table_->initgrid();
        QTest::qWait(3 * SoilSession::kSettleMs);
        QCOMPARE(window_->session().refreshCount(), refreshes + 1);
        window_->show();
        expectShown(0);
    }

    void aClearedBoxRefitsAtOnceAndStaysClearedWhileItsReadingRemains()
    {
        appendSounding(*table_, 1);
        window_->session().refresh();
        QAbstractItemModel* list = child<QTableView>("soilPoints")->model();
        const double uniformBefore = window_->session().analysis().uniform->rho_ohm_m;
        QVERIFY(list->setData(list->index(6, 0), Qt::Unchecked, Qt::CheckStateRole)); // 32 m
        QCOMPARE(list->index(6, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(window_->session().analysis().pointsUsed, 6);
        QVERIFY(window_->session().analysis().uniform->rho_ohm_m != uniformBefore);
        QCOMPARE(window_->chart().excludedSeries()->count(), 1);
        QCOMPARE(window_->chart().includedSeries()->count(), 6);

        table_->appendRecord(10, rhoRecord(64.0, 70.0));
        QTRY_COMPARE(window_->session().points().size(), size_t(8));
        QVERIFY(!window_->session().points()[6].point.included);
        QCOMPARE(window_->session().analysis().pointsUsed, 7);

        // Down to two spacings: the uniform model alone, and the window says why.
        for (int row = 2; row < 8; ++row)
            list->setData(list->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
        const SoilAnalysis& two = window_->session().analysis();
        QVERIFY(!two.twoLayer);
        QCOMPARE(two.verdict, SoilAnalysis::Verdict::TooFewSpacings);
        QCOMPARE(two.distinctSpacings, 2);
        QVERIFY(child<QLabel>("soilMessage")->text().contains(QStringLiteral("只有 2 个间距")));
        QVERIFY(child<QLabel>("soilMessage")->isVisible());
        QVERIFY(child<QLabel>("soilFigures")->isVisible());

        // Another sounding under the same record numbers is another set of readings.
        table_->initgrid();
        appendSounding(*table_, 1, 1.5);
        window_->session().refresh();
        QCOMPARE(window_->session().analysis().pointsUsed, 7);
    }

    // The report holds the fields, the figures, the points and every record; the CSV the points beside the model.
    void exportsHoldTheFiguresAndThePoints()
    {
        appendSounding(*table_, 1);
        for (int k = 10; k <= 150; ++k)
            table_->appendRecord(k, record(500, 0x12));
        window_->session().refresh();
        window_->session().setIncluded(6, false);
        child<QLineEdit>("site")->setText("Harrow substation");
        child<QLineEdit>("operator")->setText("J. Okafor");
        child<QLineEdit>("instrument")->setText("Tester 4105");
        child<QPlainTextEdit>("notes")->setPlainText("Dry ground\nRods along the fence");

        const QString file = tmp_.filePath("report.pdf");
        saveAs(file);
        window_->exportReport();
        QVERIFY(dialog_->messages.isEmpty());
        QCOMPARE(dialog_->saves.value(0).initDir, QDir::toNativeSeparators(tmp_.path()));
        const QString text = pdftotext({"-layout", "-enc", "UTF-8", file, "-"});
        const SoilAnalysis& a = window_->session().analysis();
        for (const QString& expected :
             {QStringLiteral("Harrow substation"), QStringLiteral("J. Okafor"), QStringLiteral("Tester 4105"),
              QStringLiteral("Rods along the fence"), QDate::currentDate().toString(Qt::ISODate),
              figure(a.twoLayer->rho1_ohm_m), figure(a.twoLayer->rho2_ohm_m), figure(a.twoLayer->h_m),
              QString::number(a.twoLayer->k, 'f', 3), QString::number(a.twoLayer->rms_percent, 'f', 2),
              figure(a.uniform->rho_ohm_m), figure(window_->session().points()[3].point.rho_ohm_m)})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in:\n" + text.left(3000)));
        // The records table runs over several pages, down to its last row.
        QVERIFY(text.count('\f') >= 3);
        QVERIFY(text.contains(QRegularExpression("\\b150\\s+5\\.00Ω")));

        saveAs(tmp_.filePath("points.csv"));
        window_->exportCsv();
        const QByteArray bytes = readAll(tmp_.filePath("points.csv"));
        const QList<QByteArray> lines = bytes.trimmed().split('\n');
        QCOMPARE(lines.value(0),
                 "record,spacing_m,resistivity_ohm_m,included,model_spacing_m,two_layer_ohm_m,uniform_ohm_m,"
                 "array,mn2_m,traverse,three_layer_ohm_m");
        QCOMPARE(lines.size(), 1 + 41);
        QVERIFY(lines.value(7).startsWith("7,32,"));
        QCOMPARE(lines.value(7).split(',').value(3), "0");
        QCOMPARE(lines.value(1).split(',').value(3), "1");
        // The last model line: no record, the curve at 32 m.
        const TwoLayerModel m = *window_->session().analysis().twoLayer;
        const QList<QByteArray> last = lines.last().split(',');
        QVERIFY(last.value(0).isEmpty());
        QCOMPARE(last.value(4).toDouble(), 32.0);
        QVERIFY(std::fabs(last.value(5).toDouble() / wennerApparent(32.0, m.rho1_ohm_m, m.rho2_ohm_m, m.h_m) - 1)
                < 1e-9);
        const SoilInput back = parseSoilInput(bytes);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QVERIFY2(back.points.size() == 7, qPrintable(back.error));
    }

    // Array, MN/2 and traverse edited in the list: the reading is worked out again
    // from R, each traverse is fitted, and the report and CSV carry the survey.
    void layoutEditsRefitAndReachTheExports()
    {
        appendSounding(*table_, 1);
        appendSounding(*table_, 20);
        window_->session().refresh();
        QAbstractItemModel* list = child<QTableView>("soilPoints")->model();
        for (int row = 7; row < 14; ++row)
            QVERIFY(list->setData(list->index(row, SoilPointModel::Traverse), "B"));
        QVERIFY(!list->setData(list->index(0, SoilPointModel::Traverse), "A B"));
        const double recorded = window_->session().points()[2].point.rho_ohm_m; // a = 2 m
        QVERIFY(list->setData(list->index(2, SoilPointModel::ArrayColumn), int(Array::Schlumberger)));
        QVERIFY(list->setData(list->index(2, SoilPointModel::Mn2), 0.5));
        // R = ρ / (2π a), then π (s² - m²) / (2m) R with s = 2 m, m = 0.5 m.
        QVERIFY(std::fabs(window_->session().points()[2].point.rho_ohm_m / (recorded * 3.75 / 4.0) - 1.0) < 1e-12);
        const SoilAnalysis& a = window_->session().analysis();
        QCOMPARE(a.traverses.size(), 2);
        QVERIFY(!a.traversesDisagree);
        QVERIFY(a.threeLayer);
        QCOMPARE(a.layersChosen, 2);
        QVERIFY(window_->chart().threeLayerSeries()->count() > 0);
        window_->session().refresh(); // the layout holds while the record holds the same reading
        QCOMPARE(window_->session().points()[2].point.array, Array::Schlumberger);
        QCOMPARE(window_->session().points()[8].point.traverse, QStringLiteral("B"));

        saveAs(tmp_.filePath("survey.pdf"));
        window_->exportReport();
        const QString text = pdftotext({"-layout", "-enc", "UTF-8", tmp_.filePath("survey.pdf"), "-"});
        for (const QString& expected : {figure(a.threeLayer->rho3_ohm_m), figure(a.threeLayer->h2_m),
                                        figure(a.traverses[1].twoLayer->rho1_ohm_m), QStringLiteral("0.5000")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in:\n" + text.left(3000)));
        saveAs(tmp_.filePath("survey.csv"));
        window_->exportCsv();
        const SoilInput back = parseSoilInput(readAll(tmp_.filePath("survey.csv")));
        QVERIFY(back.ok());
        QCOMPARE(back.points.size(), 14);
        QCOMPARE(back.points[2].array, Array::Schlumberger);
        QCOMPARE(back.points[2].mn2_m, 0.5);
        QCOMPARE(back.points[7].traverse, "B");
        QCOMPARE(back.points[6].traverse, "A");
    }

    void aFailedOrCancelledSaveWritesNothing()
    {
        appendSounding(*table_, 1);
        window_->session().refresh();
        const QTemporaryDir folder;
        window_->setSaveFolder(folder.path());
        const QString missing = folder.filePath("no-such-folder/out");
        saveAs(missing + ".pdf"); // both exports write through one function
        window_->exportReport();
        QCOMPARE(dialog_->messages.size(), 1);
        QCOMPARE(dialog_->beeps, 1);
        QCOMPARE(dialog_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(dialog_->messages[0].text.contains(QDir::toNativeSeparators(missing)));
        QVERIFY(!QFileInfo::exists(folder.filePath("no-such-folder")));

        dialog_->saveReplies = {{DialogOutcome::kCancelled, {}}, {DialogOutcome::kFailed, {}}};
        window_->exportReport();
        window_->exportCsv();
        QCOMPARE(dialog_->messages.size(), 2);
        QVERIFY(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_MAIN(TestSoilWindow)
#include "test_soilwindow.moc"
