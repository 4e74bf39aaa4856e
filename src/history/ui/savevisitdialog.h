#pragma once

#include "history/historystore.h"

#include <QDateTime>
#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;

namespace bm::history {

// What the user chose: the site and point (found or made by name) and the visit's conditions.
struct VisitChoice {
    PointChoice point;
    Conditions conditions;
    QDateTime time;
};

// 保存到现场记录: choose or type the site and test point, fill in the conditions.
class SaveVisitDialog : public QDialog {
    Q_OBJECT
public:
    // The sites and their points offered for choosing; new names may be typed.
    SaveVisitDialog(const QList<SiteSummary>& sites, std::function<QList<TestPoint>(const QString&)> pointsOf,
                    QWidget* parent = nullptr);

    VisitChoice choice() const;
    // Sets the fields as a user would type them.
    void fill(const QString& site, const QString& point, const QString& limit, const QString& operatorName);

private:
    void siteChanged(const QString& site);
    void pointChanged(const QString& point);
    void check();

    std::function<QList<TestPoint>(const QString&)> pointsOf_;
    QList<TestPoint> points_;
    QComboBox* site_;
    QComboBox* point_;
    QComboBox* kind_;
    QLineEdit* limit_;
    QLineEdit* operator_;
    QLineEdit* instrument_;
    QLineEdit* weather_;
    QLineEdit* ground_;
    QPlainTextEdit* notes_;
    QDateTimeEdit* time_;
};

} // namespace bm::history
