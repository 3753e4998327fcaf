// setup-helper.exe, which the setup program and its uninstaller carry and run; its exit code is
// its answer (a window program, so that no console flashes up):
//   setup-helper add-path FOLDER               the folder on the user's PATH
//   setup-helper remove-path FOLDER [created]  taken off again; "created": the install made Path
//   setup-helper running FOLDER NAME...        whether one of the programs runs from FOLDER
#include <windows.h>

#include <string>
#include <vector>

#include "installer/setup_helper/running_programs.h"
#include "installer/setup_helper/user_path.h"

namespace {

// The exit codes, which the setup script names alike.
constexpr int PATH_CHANGED = 0;
constexpr int PATH_CREATED = 10;
constexpr int PATH_UNCHANGED = 11;
constexpr int PATH_LEFT_ALONE = 12;
constexpr int FAILED = 13;
constexpr int PROGRAM_RUNNING = 14;
constexpr int NOTHING_RUNNING = 0;

int ExitCodeOf(PathEdit edit) {
  switch (edit) {
    case PathEdit::CHANGED:
      return PATH_CHANGED;
    case PathEdit::CREATED:
      return PATH_CREATED;
    case PathEdit::UNCHANGED:
      return PATH_UNCHANGED;
    case PathEdit::LEFT_ALONE:
      return PATH_LEFT_ALONE;
    case PathEdit::FAILED:
      break;
  }
  return FAILED;
}

std::u16string Text(const wchar_t* argument) {
  return reinterpret_cast<const char16_t*>(argument);
}

int Run(const std::vector<std::u16string>& arguments) {
  if (arguments.size() == 2 && arguments[0] == u"add-path") {
    return ExitCodeOf(AddUserPathEntry(arguments[1]));
  }
  if ((arguments.size() == 2 || (arguments.size() == 3 && arguments[2] == u"created")) &&
      arguments[0] == u"remove-path") {
    return ExitCodeOf(RemoveUserPathEntry(arguments[1], arguments.size() == 3));
  }
  if (arguments.size() >= 3 && arguments[0] == u"running") {
    std::vector<std::u16string> names(arguments.begin() + 2, arguments.end());
    return AnyProgramRunning(arguments[1], names) ? PROGRAM_RUNNING : NOTHING_RUNNING;
  }
  return FAILED;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Text(argv[i]));
  return Run(arguments);
}
