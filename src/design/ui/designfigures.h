#pragma once

#include "design/design.h"
#include "output/figurerow.h"

#include <QString>

#include <vector>

namespace bm::design {

// A design as the window and the soil report show it, in the interface language.
struct DesignSection {
    std::vector<FigureRow> inputs;
    std::vector<FigureRow> results;
    QString verdict;
};

DesignSection designSection(const DesignInput& input, const DesignResult& result);
QString designTitle();

} // namespace bm::design
