#include "toolkit/dpi_scaling.h"

#include <windows.h>

#include <cmath>

namespace {

constexpr int32_t BASE_RESOLUTION = 96;

int32_t horizontalResolution = BASE_RESOLUTION;
int32_t verticalResolution = BASE_RESOLUTION;
double horizontalScale = 1.0;

}  // namespace

void StartDpiScaling() {
  if constexpr (!DPI_AWARE) return;
  HDC screen = GetDC(nullptr);
  horizontalResolution = GetDeviceCaps(screen, LOGPIXELSX);
  verticalResolution = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  horizontalScale = horizontalResolution / double{BASE_RESOLUTION};
}

int32_t ScaleX(int32_t value) {
  if constexpr (!DPI_AWARE) return value;
  return MulDiv(value, horizontalResolution, BASE_RESOLUTION);
}

int32_t ScaleY(int32_t value) {
  if constexpr (!DPI_AWARE) return value;
  return MulDiv(value, verticalResolution, BASE_RESOLUTION);
}

int32_t UnscaleX(int32_t value) {
  if constexpr (!DPI_AWARE) return value;
  return static_cast<int32_t>(std::floor(value / horizontalScale + 0.5));
}
