#include "app/checksum_window.h"

#include <windows.h>

#include "app/checksum_report.h"
#include "app/file_name_part.h"
#include "report/report_table.h"
#include "toolkit/drop_support.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "toolkit/open_file_dialog.h"
#include "toolkit/status_bar.h"

namespace {

const wchar_t BASE_TITLE[] = L"Calculate Checksums - Drag & Drop or click on 'Open File'";
const wchar_t FILE_TITLE_PREFIX[] =
    L"Calculate Checksums - Drag & Drop or click on 'Open File' - Filename: ";

constexpr int32_t CLIENT_WIDTH = 1000;
constexpr int32_t CLIENT_HEIGHT = 400;
constexpr uint32_t WINDOW_FLAGS =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WINDOW_CENTER_ON_SCREEN;
constexpr uint32_t FIELD_CENTRED_TEXT = ES_CENTER;
constexpr int32_t FIELD_X = 10, FIELD_WIDTH = 980, FIELD_HEIGHT = 20;
constexpr int32_t BUTTON_Y = 340, BUTTON_WIDTH = 75, BUTTON_HEIGHT = 30;
constexpr int32_t STATUS_SECTION_WIDTH = 1000;
constexpr int32_t CF_HDROP_FORMAT = 15;
constexpr int32_t DROP_LINK_ONLY = 4;

int32_t FieldY(int64_t field) {
  return static_cast<int32_t>(10 + 30 * (field - 1));
}

void ShowStartLabels() {
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) ChangeGadgetText(ReportField(i), REPORT_ROWS[i].label);
}

}  // namespace

bool BuildChecksumWindow() {
  if (!OpenNumberedWindow(MAIN_WINDOW, 50, 50, CLIENT_WIDTH, CLIENT_HEIGHT, BASE_TITLE,
                          WINDOW_FLAGS)) {
    return false;
  }
  for (int i = 0; i < REPORT_ROW_COUNT; ++i) {
    CreateTextField(ReportField(i), FIELD_X, FieldY(ReportField(i)), FIELD_WIDTH, FIELD_HEIGHT,
                    REPORT_ROWS[i].label, FIELD_CENTRED_TEXT);
  }
  CreateButton(OPEN_FILE_BUTTON, 375, BUTTON_Y, BUTTON_WIDTH, BUTTON_HEIGHT, L"Open File");
  CreateButton(CLEAR_BUTTON, 575, BUTTON_Y, BUTTON_WIDTH, BUTTON_HEIGHT, L"Clear");
  if (MakeStatusBar(REPORT_STATUS_BAR, WindowHandle(MAIN_WINDOW)) != 0)
    AppendStatusSection(STATUS_SECTION_WIDTH);
  AcceptWindowDrops(MAIN_WINDOW, CF_HDROP_FORMAT, DROP_LINK_ONLY);
  SetWindowTopmost(MAIN_WINDOW, 1);
  return true;
}

void ShowPath(const Text& path) {
  SetWindowCaption(MAIN_WINDOW, (FILE_TITLE_PREFIX + FileNamePart(path)).c_str());
  ShowChecksums(path);
}

void ClearReport() {
  ShowStartLabels();
  SetStatusSectionText(REPORT_STATUS_BAR, 0, L"");
  SetWindowCaption(MAIN_WINDOW, BASE_TITLE);
}

void OpenFileFromDialog() {
  ShowPath(AskOpenFileName(L"Open File", L"*.*", L"All Files (*.*)|*.*", 0));
}
