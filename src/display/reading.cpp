#include "display/reading.h"

namespace bm {

void Reading::apply(const protocol::Measurement&) {}

} // namespace bm
