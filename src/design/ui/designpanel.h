#pragma once

#include "design/design.h"
#include "design/ui/designfigures.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QSpinBox;
class QStackedWidget;

namespace bm::design {

// The electrode designed in the fitted soil: its type, sizes and the safety
// inputs, with the results worked out again on every change.
class DesignPanel : public QWidget {
    Q_OBJECT
public:
    explicit DesignPanel(QWidget* parent = nullptr);

    // The soil the fit gives; without one nothing is worked out.
    void setSoil(const std::optional<Soil>& soil);
    // The inputs as they stand (the soil empty until a fit gives one).
    DesignInput input() const;
    // What the panel shows, for the report; none without a soil.
    std::optional<DesignSection> section() const;

signals:
    void changed();

private:
    QWidget* buildRods();
    QWidget* buildGrid();
    QGroupBox* buildSafety();
    QDoubleSpinBox* number(const char* name, double lo, double hi, double value, int decimals, const QString& suffix);
    QSpinBox* whole(const char* name, int lo, int hi, int value);
    void recompute();

    std::optional<Soil> soil_;
    QComboBox* type_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QFormLayout* rodForm_ = nullptr;
    QDoubleSpinBox* rodLength_ = nullptr;
    QDoubleSpinBox* rodDiameter_ = nullptr; // mm
    QSpinBox* rodCount_ = nullptr;
    QDoubleSpinBox* spacing_ = nullptr;
    QComboBox* arrangement_ = nullptr;
    QDoubleSpinBox* target_ = nullptr;
    QDoubleSpinBox* gridX_ = nullptr;
    QDoubleSpinBox* gridY_ = nullptr;
    QSpinBox* conductorsX_ = nullptr;
    QSpinBox* conductorsY_ = nullptr;
    QDoubleSpinBox* depth_ = nullptr;
    QDoubleSpinBox* conductorDiameter_ = nullptr; // mm
    QSpinBox* gridRods_ = nullptr;
    QDoubleSpinBox* gridRodLength_ = nullptr;
    QGroupBox* safety_ = nullptr;
    QDoubleSpinBox* faultCurrent_ = nullptr;
    QDoubleSpinBox* clearingTime_ = nullptr;
    QDoubleSpinBox* surfaceRho_ = nullptr;
    QDoubleSpinBox* surfaceThickness_ = nullptr;
    QComboBox* body_ = nullptr;
    QLabel* results_ = nullptr;
    QLabel* verdict_ = nullptr;
};

} // namespace bm::design
