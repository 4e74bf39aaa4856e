#include "design/ui/designpanel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace bm::design {

namespace {

constexpr int kGridPage = 1;

QString rowsHtml(const std::vector<FigureRow>& rows)
{
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (const FigureRow& r : rows)
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;&nbsp;%2</td></tr>")
                    .arg(r.name.toHtmlEscaped(), r.value.toHtmlEscaped());
    return html + QStringLiteral("</table>");
}

} // namespace

DesignPanel::DesignPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("designPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QFormLayout;
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("electrodeType"));
    type_->addItems({tr("单根接地极"), tr("多根接地极"), tr("达到目标所需根数"), tr("接地网")});
    top->addRow(tr("接地极"), type_);
    layout->addLayout(top);
    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildRods());
    pages_->addWidget(buildGrid());
    layout->addWidget(pages_);
    layout->addWidget(buildSafety());
    results_ = new QLabel(this);
    results_->setObjectName(QStringLiteral("designResults"));
    results_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("designVerdict"));
    verdict_->setWordWrap(true);
    layout->addWidget(results_);
    layout->addWidget(verdict_);
    layout->addStretch();
    connect(type_, &QComboBox::currentIndexChanged, this, &DesignPanel::recompute);
    recompute();
}

QDoubleSpinBox* DesignPanel::number(const char* name, double lo, double hi, double value, int decimals,
                                    const QString& suffix)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setValue(value);
    box->setSuffix(suffix);
    connect(box, &QDoubleSpinBox::valueChanged, this, &DesignPanel::recompute);
    return box;
}

QSpinBox* DesignPanel::whole(const char* name, int lo, int hi, int value)
{
    auto* box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lo, hi);
    box->setValue(value);
    connect(box, &QSpinBox::valueChanged, this, &DesignPanel::recompute);
    return box;
}

QWidget* DesignPanel::buildRods()
{
    auto* page = new QWidget(this);
    rodForm_ = new QFormLayout(page);
    rodForm_->setContentsMargins(0, 0, 0, 0);
    rodLength_ = number("rodLength", 0.5, 100.0, 3.0, 2, QStringLiteral(" m"));
    rodDiameter_ = number("rodDiameter", 5.0, 200.0, 16.0, 1, QStringLiteral(" mm"));
    rodCount_ = whole("rodCount", 1, kMaxRods, 4);
    spacing_ = number("rodSpacing", 0.1, 1000.0, 3.0, 2, QStringLiteral(" m"));
    arrangement_ = new QComboBox(this);
    arrangement_->setObjectName(QStringLiteral("arrangement"));
    arrangement_->addItems({tr("直线"), tr("环形")});
    connect(arrangement_, &QComboBox::currentIndexChanged, this, &DesignPanel::recompute);
    target_ = number("targetOhm", 0.01, 100000.0, 10.0, 2, QStringLiteral(" Ω"));
    rodForm_->addRow(tr("接地极长度"), rodLength_);
    rodForm_->addRow(tr("接地极直径"), rodDiameter_);
    rodForm_->addRow(tr("根数"), rodCount_);
    rodForm_->addRow(tr("目标电阻"), target_);
    rodForm_->addRow(tr("间距"), spacing_);
    rodForm_->addRow(tr("布置"), arrangement_);
    return page;
}

QWidget* DesignPanel::buildGrid()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->setContentsMargins(0, 0, 0, 0);
    gridX_ = number("gridX", 1.0, 2000.0, 70.0, 1, QStringLiteral(" m"));
    gridY_ = number("gridY", 1.0, 2000.0, 70.0, 1, QStringLiteral(" m"));
    conductorsX_ = whole("conductorsX", 1, 500, 11);
    conductorsY_ = whole("conductorsY", 1, 500, 11);
    depth_ = number("gridDepth", 0.05, 10.0, 0.5, 2, QStringLiteral(" m"));
    conductorDiameter_ = number("conductorDiameter", 1.0, 100.0, 10.0, 1, QStringLiteral(" mm"));
    gridRods_ = whole("gridRods", 0, 10000, 0);
    gridRodLength_ = number("gridRodLength", 0.5, 100.0, 7.5, 2, QStringLiteral(" m"));
    form->addRow(tr("长 (x)"), gridX_);
    form->addRow(tr("宽 (y)"), gridY_);
    form->addRow(tr("沿 x 导体根数"), conductorsX_);
    form->addRow(tr("沿 y 导体根数"), conductorsY_);
    form->addRow(tr("埋深"), depth_);
    form->addRow(tr("导体直径"), conductorDiameter_);
    form->addRow(tr("周边接地极根数"), gridRods_);
    form->addRow(tr("周边接地极长度"), gridRodLength_);
    return page;
}

QGroupBox* DesignPanel::buildSafety()
{
    safety_ = new QGroupBox(tr("接触电压和跨步电压校核"), this);
    safety_->setObjectName(QStringLiteral("safety"));
    safety_->setCheckable(true);
    safety_->setChecked(false);
    connect(safety_, &QGroupBox::toggled, this, &DesignPanel::recompute);
    auto* form = new QFormLayout(safety_);
    faultCurrent_ = number("faultCurrent", 1.0, 1e6, 1000.0, 0, QStringLiteral(" A"));
    clearingTime_ = number("clearingTime", 0.03, 10.0, 0.5, 2, QStringLiteral(" s"));
    surfaceRho_ = number("surfaceRho", 0.0, 1e5, 2500.0, 0, QStringLiteral(" Ω·m"));
    surfaceRho_->setSpecialValueText(tr("无表层"));
    surfaceThickness_ = number("surfaceThickness", 0.01, 1.0, 0.1, 3, QStringLiteral(" m"));
    body_ = new QComboBox(safety_);
    body_->setObjectName(QStringLiteral("body"));
    body_->addItems({QStringLiteral("50 kg"), QStringLiteral("70 kg")});
    connect(body_, &QComboBox::currentIndexChanged, this, &DesignPanel::recompute);
    form->addRow(tr("入地电流 IG"), faultCurrent_);
    form->addRow(tr("故障持续时间"), clearingTime_);
    form->addRow(tr("表层电阻率"), surfaceRho_);
    form->addRow(tr("表层厚度"), surfaceThickness_);
    form->addRow(tr("体重"), body_);
    return safety_;
}

void DesignPanel::setSoil(const std::optional<Soil>& soil)
{
    soil_ = soil;
    recompute();
}

DesignInput DesignPanel::input() const
{
    DesignInput in;
    in.soil = soil_.value_or(Soil{});
    in.electrode = static_cast<Electrode>(type_->currentIndex());
    in.rod = {rodLength_->value(), rodDiameter_->value() / 1000.0};
    in.rods = rodCount_->value();
    in.spacing_m = spacing_->value();
    in.arrangement = arrangement_->currentIndex() == 1 ? Arrangement::Ring : Arrangement::Line;
    in.target_ohm = target_->value();
    in.grid = {gridX_->value(),       gridY_->value(),        conductorsX_->value(),
               conductorsY_->value(), depth_->value(),        conductorDiameter_->value() / 1000.0,
               gridRods_->value(),    gridRodLength_->value()};
    if (safety_->isChecked())
        in.safety = SafetyInput{faultCurrent_->value(), clearingTime_->value(), surfaceRho_->value(),
                                surfaceThickness_->value(), body_->currentIndex() == 1 ? 70 : 50};
    return in;
}

std::optional<DesignSection> DesignPanel::section() const
{
    if (!soil_)
        return std::nullopt;
    const DesignInput in = input();
    return designSection(in, evaluate(in));
}

void DesignPanel::recompute()
{
    const Electrode e = static_cast<Electrode>(type_->currentIndex());
    pages_->setCurrentIndex(e == Electrode::Grid ? kGridPage : 0);
    rodForm_->setRowVisible(rodCount_, e == Electrode::Rods);
    rodForm_->setRowVisible(target_, e == Electrode::RodsNeeded);
    rodForm_->setRowVisible(spacing_, e == Electrode::Rods || e == Electrode::RodsNeeded);
    rodForm_->setRowVisible(arrangement_, e == Electrode::Rods || e == Electrode::RodsNeeded);
    const std::optional<DesignSection> s = section();
    results_->setText(s ? rowsHtml(s->results) : QString());
    verdict_->setText(s ? s->verdict : tr("没有土壤模型：请先拟合土壤电阻率读数。"));
    emit changed();
}

} // namespace bm::design
