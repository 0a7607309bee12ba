// DPI scaling of 96-dpi design sizes; portable so that layout arithmetic is the same everywhere.
#include <cstdint>

#include "frame/Skin.h"

namespace SWDPI {

// value × dpi ÷ 96, rounded to the nearest integer with halves away from zero (MulDiv's rule).
int Scale(int dpi, int value) {
  const int64_t product = static_cast<int64_t>(value) * dpi;
  const int64_t half = 48;
  return static_cast<int>(product >= 0 ? (product + half) / 96 : (product - half) / 96);
}

}  // namespace SWDPI
