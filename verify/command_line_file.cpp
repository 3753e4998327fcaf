#include "verify/command_line_file.h"

#include <windows.h>
#include <shellapi.h>

Text CommandLineFile() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return Text();
  Text file = count > 1 ? Text(arguments[1]) : Text();
  LocalFree(arguments);
  return file;
}
