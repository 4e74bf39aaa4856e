#pragma once

#include "model/measurement.h"

#include <QString>

namespace bm {

// The current reading as the panel shows it: the value captions, the warning
// marks and the measurement mode (1 voltage, 2 resistance, 3 resistivity).
struct Reading {
    QString v = QStringLiteral("0.0 V");
    QString r = QStringLiteral("0.00 Ω");
    QString p = QStringLiteral("0.00 Ωm");
    QString p_length = QStringLiteral("0.00 m");
    QString rc = QStringLiteral("0.00 KΩ");
    QString rp = QStringLiteral("0.00 KΩ");
    bool noise = false;
    bool hvolt = false;
    bool lowbat = false;
    int testmode = 2;

    // A live reply: the captions of its kind change, the others keep theirs;
    // the marks follow the flags whatever the kind.
    void apply(const Measurement& m);
};

} // namespace bm
