#include <windows.h>
#include <tlhelp32.h>

#include "installer/setup_helper/running_programs.h"

#include "installer/setup_helper/path_list.h"

namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() {
    if (handle_) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;  // ours to close
};

std::u16string ImagePath(DWORD processId) {
  Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.get()) return {};
  wchar_t path[32768];
  DWORD size = ARRAYSIZE(path);
  if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(path), size);
}

bool RunsFrom(const PROCESSENTRY32W& entry, const std::u16string& folder,
              const std::vector<std::u16string>& names) {
  std::u16string image = ImagePath(entry.th32ProcessID);
  for (const std::u16string& name : names) {
    if (SamePathEntry(image, folder + u"\\" + name)) return true;
  }
  return false;
}

}  // namespace

bool AnyProgramRunning(const std::u16string& folder, const std::vector<std::u16string>& names) {
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.get()) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (RunsFrom(entry, folder, names)) return true;
  }
  return false;
}
