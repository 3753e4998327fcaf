// The window's layout at 100 % and 150 %: every control inside the client area, none over
// another, and the list taking the height that is left.
#include "verify/window_layout.h"

#include <gtest/gtest.h>

namespace {

bool Overlap(const ControlPlace& a, const ControlPlace& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(WindowLayout, ControlsStayInsideAndApartAtEachDpiAndSize) {
  for (uint32_t dpi : {96u, 144u}) {
    for (int32_t grow : {0, 400}) {
      const int32_t width = ScaleForDpi(MINIMUM_CLIENT_WIDTH, dpi) + grow;
      const int32_t height = ScaleForDpi(MINIMUM_CLIENT_HEIGHT, dpi) + grow;
      ControlPlace places[LAID_OUT_CONTROLS];
      LayOutControls(width, height, dpi, places);
      for (int32_t i = 0; i < LAID_OUT_CONTROLS; ++i) {
        const ControlPlace& place = places[i];
        EXPECT_EQ(place.control, VERDICT_TEXT + i);
        EXPECT_GE(place.x, 0);
        EXPECT_GE(place.y, 0);
        EXPECT_LE(place.x + place.width, width) << place.control << " at " << dpi;
        EXPECT_LE(place.y + place.height, height) << place.control << " at " << dpi;
        for (int32_t j = 0; j < i; ++j) {
          EXPECT_FALSE(Overlap(place, places[j])) << place.control << ", " << places[j].control;
        }
      }
      const ControlPlace& list = places[ROWS_LIST - VERDICT_TEXT];
      const ControlPlace& copy = places[COPY_BUTTON - VERDICT_TEXT];
      EXPECT_GT(copy.y - (list.y + list.height), 0);
      EXPECT_LE(copy.y - (list.y + list.height), ScaleForDpi(10, dpi));
    }
  }
}

}  // namespace
