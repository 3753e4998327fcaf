// A second Windows program working on a file while the window reads it, until it is ended:
// `append PATH` keeps appending one byte 'A' to it (as the window fixture's contended versions
// grow), `delete PATH` keeps trying to delete it. Sharing rules hold only between Windows
// processes, so the tests need this one rather than a Linux tool.
#include <windows.h>

#include <cwchar>

namespace {

constexpr char APPENDED_BYTE = 'A';

void AppendOneByte(const wchar_t* path) {
  HANDLE file =
      CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, &APPENDED_BYTE, 1, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const wchar_t* path = argv[2];
  if (std::wcscmp(argv[1], L"append") == 0) {
    for (;;) {
      AppendOneByte(path);
      Sleep(0);
    }
  }
  if (std::wcscmp(argv[1], L"delete") == 0) {
    for (;;) {
      DeleteFileW(path);
      Sleep(0);
    }
  }
  return 2;
}
