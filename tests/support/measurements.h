#pragma once
// A decoded measurement in one line: its kind and the counts with their format bytes.
#include "model/measurement.h"

inline bm::Measurement measured(bm::Kind kind, bm::Quantity main, bm::Quantity rc = {}, bm::Quantity rp = {},
                                bm::Quantity spacing = {})
{
    bm::Measurement m;
    m.kind = kind;
    m.mainValue = main;
    m.rcValue = rc;
    m.rpValue = rp;
    m.spacingValue = spacing;
    return m;
}
