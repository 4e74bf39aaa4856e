#include "model/reading.h"

namespace bm {

namespace {

int testmodeOf(Kind kind, int current)
{
    switch (kind) {
    case Kind::Voltage: return 1;
    case Kind::Resistance: return 2;
    case Kind::Resistivity: return 3;
    case Kind::None: break;
    }
    return current;
}

} // namespace

void Reading::apply(const Measurement& m)
{
    QString* captions[kFieldCount] = {&v, &r, &p, &p_length, &rc, &rp};
    const FieldTexts texts = fieldTexts(m);
    for (int i = 0; i < kFieldCount; ++i) {
        if (texts[static_cast<size_t>(i)])
            *captions[i] = *texts[static_cast<size_t>(i)];
    }
    testmode = testmodeOf(m.kind, testmode);
    noise = m.noise();
    hvolt = m.highVoltage();
    lowbat = m.lowBattery();
}

} // namespace bm
