#pragma once

#include <array>

namespace bm::soil {

// A digital linear filter for the zero-order Hankel transform:
// integral of f(lambda) J0(lambda r) d lambda ~ (1/r) sum f(base_i / r) weight_i.
struct HankelPoint {
    double base;
    double weight;
};
constexpr int kHankelPoints = 120;
const std::array<HankelPoint, kHankelPoints>& hankelJ0Filter();

} // namespace bm::soil
