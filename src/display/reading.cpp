#include "display/reading.h"

namespace bm {

void Reading::apply(const protocol::Measurement& m)
{
    using protocol::Kind;
    switch (m.kind) {
    case Kind::Voltage:
        v = m.main;
        testmode = 1;
        break;
    case Kind::Resistance:
        r = m.main;
        rc = m.rc;
        rp = m.rp;
        testmode = 2;
        break;
    case Kind::Resistivity:
        p = m.main;
        rc = m.rc;
        rp = m.rp;
        p_length = m.spacing;
        testmode = 3;
        break;
    case Kind::None:
        break;
    }
    noise = m.noise();
    hvolt = m.highVoltage();
    lowbat = m.lowBattery();
}

} // namespace bm
