#include "verify/window_layout.h"

#include <algorithm>

namespace {

constexpr uint32_t BASE_DPI = 96;
constexpr int32_t MARGIN = 10, GAP = 6;
constexpr int32_t VERDICT_HEIGHT = 52, TEXT_HEIGHT = 20, BOX_HEIGHT = 24, BUTTON_HEIGHT = 28;
constexpr int32_t LABEL_WIDTH = 150, BUTTON_WIDTH = 110, PROGRESS_HEIGHT = 16;
constexpr int32_t ADD_BUTTON_WIDTH = 200;  // "Add 1,000,000 unlisted files"

}  // namespace

int32_t ScaleForDpi(int32_t value, uint32_t dpi) {
  return static_cast<int32_t>((static_cast<int64_t>(value) * dpi + BASE_DPI / 2) / BASE_DPI);
}

void LayOutControls(int32_t clientWidth, int32_t clientHeight, uint32_t dpi,
                    ControlPlace (&places)[LAID_OUT_CONTROLS]) {
  auto s = [dpi](int32_t value) { return ScaleForDpi(value, dpi); };
  const int32_t left = s(MARGIN), width = std::max(clientWidth - 2 * s(MARGIN), s(100));
  const int32_t boxLeft = left + s(LABEL_WIDTH), buttonWidth = s(BUTTON_WIDTH);
  const int32_t boxWidth = std::max(width - s(LABEL_WIDTH) - buttonWidth - s(GAP), s(50));
  const int32_t buttonLeft = boxLeft + boxWidth + s(GAP);
  int32_t y = s(MARGIN);
  auto place = [&](int32_t control, int32_t x, int32_t top, int32_t w, int32_t h) {
    places[control - VERDICT_TEXT] = {control, x, top, w, h};
  };
  place(VERDICT_TEXT, left, y, width, s(VERDICT_HEIGHT));
  y += s(VERDICT_HEIGHT) + s(GAP);
  place(DETAILS_TEXT, left, y, width, s(TEXT_HEIGHT));
  y += s(TEXT_HEIGHT) + s(GAP);
  const int32_t labelDrop = (s(BUTTON_HEIGHT) - s(TEXT_HEIGHT)) / 2;
  const int32_t boxDrop = (s(BUTTON_HEIGHT) - s(BOX_HEIGHT)) / 2;
  place(FILE_LABEL, left, y + labelDrop, s(LABEL_WIDTH), s(TEXT_HEIGHT));
  place(FILE_BOX, boxLeft, y + boxDrop, boxWidth, s(BOX_HEIGHT));
  place(OPEN_BUTTON, buttonLeft, y, buttonWidth, s(BUTTON_HEIGHT));
  y += s(BUTTON_HEIGHT) + s(GAP);
  place(DIGEST_LABEL, left, y + labelDrop, s(LABEL_WIDTH), s(TEXT_HEIGHT));
  place(DIGEST_BOX, boxLeft, y + boxDrop, boxWidth, s(BOX_HEIGHT));
  place(COMPARE_BUTTON, buttonLeft, y, buttonWidth, s(BUTTON_HEIGHT));
  y += s(BUTTON_HEIGHT) + s(GAP);
  place(PROGRESS_BAR, left, y, width, s(PROGRESS_HEIGHT));
  y += s(PROGRESS_HEIGHT) + s(GAP);
  place(CURRENT_TEXT, left, y, width, s(TEXT_HEIGHT));
  y += s(TEXT_HEIGHT) + s(GAP);
  const int32_t bottomRow = clientHeight - s(MARGIN) - s(BUTTON_HEIGHT);
  place(ROWS_LIST, left, y, width, std::max(bottomRow - s(GAP) - y, s(40)));
  place(COPY_BUTTON, left + width - 2 * buttonWidth - s(GAP), bottomRow, buttonWidth,
        s(BUTTON_HEIGHT));
  place(CANCEL_BUTTON, left + width - buttonWidth, bottomRow, buttonWidth, s(BUTTON_HEIGHT));
  place(ADD_BUTTON, left, bottomRow, s(ADD_BUTTON_WIDTH), s(BUTTON_HEIGHT));
}
