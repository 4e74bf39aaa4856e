#pragma once

#include <QString>

namespace bm {

// One figure as a window or a report shows it: a name and a value with its unit.
struct FigureRow {
    QString name;
    QString value;
};

// A value with four significant digits and no exponent: 0.1234, 12.34, 12345.
QString figure(double value);

} // namespace bm
