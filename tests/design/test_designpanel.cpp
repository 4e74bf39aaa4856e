// The design panel in the soil window: it designs in the fitted soil, follows
// its inputs, and the exported soil report carries its section.
#include "fakedialog.h"
#include "pdftext.h"
#include "design/ui/designpanel.h"
#include "link/protocol.h"
#include "records/recordtable.h"
#include "soil/ui/soilsession.h"
#include "soil/ui/soilwindow.h"
#include "soil/wenner.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace bm;

namespace {

// A stored Wenner record in Ωm with one decimal; the spacing in tenths of a metre.
Measurement rhoRecord(double spacing, double rho)
{
    QByteArray b;
    for (quint16 v :
         {quint16(std::lround(rho * 10)), quint16(0x31), quint16(0), quint16(0), quint16(std::lround(spacing * 10))})
        b.append(char(v & 0xFF)).append(char(v >> 8));
    return *protocol::decodeMeasurement(b);
}

// The value of the named result row, as a number.
double result(const design::DesignPanel& panel, const QString& name)
{
    const std::optional<design::DesignSection> section = panel.section();
    for (const FigureRow& r : section->results) {
        if (r.name == name)
            return r.value.section(QLatin1Char(' '), 0, 0).toDouble();
    }
    return NAN;
}

} // namespace

class TestDesignPanel : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    RecordTable table_;
    FakeDialog dialog_;
    std::unique_ptr<soil::SoilWindow> window_;

    template <typename T>
    T* child(const char* name)
    {
        return window_->findChild<T*>(name);
    }

private slots:
    void init()
    {
        table_.initgrid();
        window_ = std::make_unique<soil::SoilWindow>(table_, &dialog_);
    }

    // 100 Ω·m readings throughout: IEEE 80's example grid at a quarter of its
    // 400 Ω·m (2.78 and 2.75 Ω / 4), then a 6 m rod in 300 Ω·m over 60 Ω·m from 3 m.
    void resultsFollowTheFittedSoilAndTheInputs()
    {
        const design::DesignPanel& panel = window_->designPanel();
        QVERIFY(!panel.section());
        QVERIFY(!child<QLabel>("designVerdict")->text().isEmpty());
        int k = 1;
        for (const double a : {1.0, 2.0, 4.0, 8.0, 16.0})
            table_.appendRecord(k++, rhoRecord(a, 100.0));
        window_->session().refresh();
        child<QComboBox>("electrodeType")->setCurrentIndex(int(design::Electrode::Grid));
        QVERIFY(std::fabs(result(panel, "接地网电阻 Rg") - 2.78 / 4.0) < 0.005 / 4.0);
        child<QSpinBox>("gridRods")->setValue(20);
        QVERIFY(std::fabs(result(panel, "接地网电阻 Rg") - 2.75 / 4.0) < 0.005 / 4.0);

        table_.initgrid();
        k = 1;
        for (const double a : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0})
            table_.appendRecord(k++, rhoRecord(a, soil::wennerApparent(a, 300.0, 60.0, 3.0)));
        window_->session().refresh();
        child<QComboBox>("electrodeType")->setCurrentIndex(int(design::Electrode::Rod));
        child<QDoubleSpinBox>("rodLength")->setValue(6.0);
        // 6 x 300 x 60 / (60 x 3 + 300 x 3) = 100 Ω·m, within the fit's accuracy.
        const design::DesignInput in = panel.input();
        QVERIFY(in.soil.layered());
        QVERIFY(std::fabs(in.soil.rho1_ohm_m - 300.0) < 6.0);
        QVERIFY(std::fabs(design::rodResistivity(in.soil, 6.0).rho_ohm_m - 100.0) < 3.0);
        QVERIFY(std::fabs(result(panel, "单根电阻 R1") - design::rodResistance(100.0, 6.0, 0.016)) < 0.3);
    }

    // IEEE 80's example in 400 Ω·m: the report shows Rg 2.776 Ω, the touch limit
    // 840.5 V and Em about 1002 V, and that the grid is not safe.
    void reportCarriesTheDesignSection()
    {
        int k = 1;
        for (const double a : {1.0, 2.0, 4.0, 8.0, 16.0})
            table_.appendRecord(k++, rhoRecord(a, 400.0));
        window_->session().refresh();
        child<QComboBox>("electrodeType")->setCurrentIndex(int(design::Electrode::Grid));
        child<QGroupBox>("safety")->setChecked(true);
        child<QDoubleSpinBox>("faultCurrent")->setValue(1908.0);
        child<QDoubleSpinBox>("surfaceThickness")->setValue(0.102);
        child<QComboBox>("body")->setCurrentIndex(1);
        QVERIFY(child<QLabel>("designVerdict")->text().startsWith("不安全"));

        const QString file = tmp_.filePath("report.pdf");
        dialog_.saveReplies = {{DialogOutcome::kAccepted, file, 0, true}};
        window_->exportReport();
        const QString text = pdftotext({"-layout", "-enc", "UTF-8", file, "-"});
        for (const char* expected : {"接地设计", "2.776 Ω", "840.5 V", "2696 V", "5296 V", "不安全"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)),
                     qPrintable(QString::fromUtf8(expected) + " not in:\n" + text.left(3000)));
        QVERIFY(text.contains(QRegularExpression("Em\\s+10\\d\\d V")));
    }
};

QTEST_MAIN(TestDesignPanel)
#include "test_designpanel.moc"
