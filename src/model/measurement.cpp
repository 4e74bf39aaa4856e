#include "model/measurement.h"

#include "model/format.h"

#include <cmath>
#include <limits>

namespace bm {

double Quantity::si() const
{
    const Unit* unit = unitOf(format);
    const int decimals = format & 0x0F;
    if (!unit || overloaded() || decimals > 3)
        return std::numeric_limits<double>::quiet_NaN();
    return count / std::pow(10.0, decimals) * unit->toSi;
}

FieldTexts fieldTexts(const Measurement& m)
{
    FieldTexts f;
    const auto set = [&f](Field field, const QString& text) { f[static_cast<size_t>(field)] = text; };
    switch (m.kind) {
    case Kind::Voltage: set(Field::V, m.main); break;
    case Kind::Resistance:
        set(Field::R, m.main);
        set(Field::Rc, m.rc);
        set(Field::Rp, m.rp);
        break;
    case Kind::Resistivity:
        set(Field::Rho, m.main);
        set(Field::Spacing, m.spacing);
        set(Field::Rc, m.rc);
        set(Field::Rp, m.rp);
        break;
    case Kind::None: break;
    }
    return f;
}

} // namespace bm
