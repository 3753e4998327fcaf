#include "toolkit/visual_styles.h"

#include <windows.h>
#include <shlwapi.h>

#include "toolkit/scoped_handles.h"

namespace {

constexpr uint32_t FIRST_THEMED_VERSION = 0x60000;  // 6.0
constexpr uint32_t VERSION_WITHOUT_QUERY = 1;       // a library too old to say its version
constexpr DWORD VERSION_RECORD_SIZE = 20;           // the original DLLVERSIONINFO

using IsAppThemedFunction = BOOL(WINAPI*)();

uint32_t commonControlsVersion;
bool visualStyles;

uint32_t ReadCommonControlsVersion() {
  LoadedLibrary commonControls(L"COMCTL32.DLL");
  auto getVersion = commonControls.Find<DLLGETVERSIONPROC>("DllGetVersion");
  if (!getVersion) return VERSION_WITHOUT_QUERY;
  DLLVERSIONINFO version{};
  version.cbSize = VERSION_RECORD_SIZE;
  if (FAILED(getVersion(&version))) return 0;
  return (version.dwMajorVersion & 0xFFFF) << 16 | (version.dwMinorVersion & 0xFFFF);
}

}  // namespace

void ProbeVisualStyles() {
  if (commonControlsVersion != 0) return;
  commonControlsVersion = ReadCommonControlsVersion();
  // Kept loaded: the theme library stays in use for as long as the controls draw.
  HMODULE themes = LoadLibraryW(L"uxtheme.dll");
  if (!themes) return;
  auto isAppThemed = reinterpret_cast<IsAppThemedFunction>(
      reinterpret_cast<void*>(GetProcAddress(themes, "IsAppThemed")));
  if (!isAppThemed) return;
  visualStyles = isAppThemed() && commonControlsVersion >= FIRST_THEMED_VERSION;
}

uint32_t CommonControlsVersion() {
  return commonControlsVersion;
}

bool VisualStylesInUse() {
  return visualStyles;
}
