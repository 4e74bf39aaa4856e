#include "history/ui/savevisitdialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

namespace bm::history {

SaveVisitDialog::SaveVisitDialog(const QList<SiteSummary>& sites,
                                 std::function<QList<TestPoint>(const QString&)> pointsOf, QWidget* parent)
    : QDialog(parent), pointsOf_(std::move(pointsOf)), site_(new QComboBox), point_(new QComboBox),
      kind_(new QComboBox), limit_(new QLineEdit), operator_(new QLineEdit), instrument_(new QLineEdit),
      weather_(new QLineEdit), ground_(new QLineEdit), notes_(new QPlainTextEdit),
      time_(new QDateTimeEdit(QDateTime::currentDateTime()))
{
    setWindowTitle(tr("保存到现场记录"));
    site_->setEditable(true);
    point_->setEditable(true);
    for (const SiteSummary& s : sites)
        site_->addItem(s.site.name);
    kind_->addItems({tr("接地极"), tr("土壤测线")});
    limit_->setValidator(new QDoubleValidator(0.0, 1e12, 6, limit_));
    limit_->setPlaceholderText(tr("无"));
    time_->setCalendarPopup(true);
    notes_->setFixedHeight(60);
    auto* form = new QFormLayout;
    form->addRow(tr("现场"), site_);
    form->addRow(tr("测试点"), point_);
    form->addRow(tr("类型"), kind_);
    form->addRow(tr("限值 (Ω)"), limit_);
    form->addRow(tr("时间"), time_);
    form->addRow(tr("操作员"), operator_);
    form->addRow(tr("仪器"), instrument_);
    form->addRow(tr("天气"), weather_);
    form->addRow(tr("地面状况"), ground_);
    form->addRow(tr("备注"), notes_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    setLayout(form);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(site_, &QComboBox::currentTextChanged, this, &SaveVisitDialog::siteChanged);
    connect(point_, &QComboBox::currentTextChanged, this, &SaveVisitDialog::pointChanged);
    for (QComboBox* box : {site_, point_})
        connect(box, &QComboBox::currentTextChanged, this, &SaveVisitDialog::check);
    siteChanged(site_->currentText());
    check();
}

void SaveVisitDialog::siteChanged(const QString& site)
{
    points_ = site.isEmpty() ? QList<TestPoint>() : pointsOf_(site);
    const QSignalBlocker quiet(point_);
    point_->clear();
    for (const TestPoint& p : points_)
        point_->addItem(p.name);
    pointChanged(point_->currentText());
}

// A known point shows its kind and limit; the kind of a point once made stays.
void SaveVisitDialog::pointChanged(const QString& point)
{
    const auto known =
        std::find_if(points_.begin(), points_.end(), [&](const TestPoint& p) { return p.name == point; });
    kind_->setEnabled(known == points_.end());
    if (known == points_.end())
        return;
    kind_->setCurrentIndex(known->kind == PointKind::Soil ? 1 : 0);
    limit_->setText(known->limitOhm ? QLocale().toString(*known->limitOhm) : QString());
}

void SaveVisitDialog::check()
{
    if (auto* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok))
        ok->setEnabled(!site_->currentText().trimmed().isEmpty() && !point_->currentText().trimmed().isEmpty());
}

void SaveVisitDialog::fill(const QString& site, const QString& point, const QString& limit, const QString& operatorName)
{
    site_->setEditText(site);
    point_->setEditText(point);
    limit_->setText(limit);
    operator_->setText(operatorName);
}

VisitChoice SaveVisitDialog::choice() const
{
    VisitChoice c;
    c.point = {site_->currentText().trimmed(), point_->currentText().trimmed(),
               kind_->currentIndex() == 1 ? PointKind::Soil : PointKind::Electrode, std::nullopt};
    bool ok = false;
    const double limit = QLocale().toDouble(limit_->text(), &ok);
    if (ok && limit > 0)
        c.point.limitOhm = limit;
    c.conditions = {operator_->text(), instrument_->text(),   weather_->text(),
                    ground_->text(),   notes_->toPlainText(), {}};
    c.time = time_->dateTime();
    return c;
}

} // namespace bm::history
