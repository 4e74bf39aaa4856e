#pragma once

#include "design/design.h"
#include "soil/ui/soilfigures.h"

#include <QString>

#include <vector>

namespace bm::design {

// A design as the window and the soil report show it, in the interface language.
struct DesignSection {
    std::vector<soil::FigureRow> inputs;
    std::vector<soil::FigureRow> results;
    QString verdict;
};

DesignSection designSection(const DesignInput& input, const DesignResult& result);
QString designTitle();

} // namespace bm::design
