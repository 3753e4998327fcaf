#include <windows.h>

#include "toolkit/run_once_system.h"
#include "toolkit/scoped_handles.h"

namespace {

using InitOnceExecuteOnceFunction = BOOL(WINAPI*)(PINIT_ONCE, PINIT_ONCE_FN, PVOID, LPVOID*);

BOOL CALLBACK RunRoutine(PINIT_ONCE, PVOID routine, PVOID*) {
  reinterpret_cast<OnceRoutine>(routine)();
  return TRUE;
}

}  // namespace

bool RunOnceThroughSystem(OnceFlag* flag, OnceRoutine routine) {
  static_assert(sizeof(OnceFlag) == sizeof(INIT_ONCE), "the flag is the system's one-time record");
  // Looked up by name: systems before Vista lack the service.
  LoadedLibrary kernel(L"Kernel32.dll");
  auto executeOnce = kernel.Find<InitOnceExecuteOnceFunction>("InitOnceExecuteOnce");
  if (!executeOnce) return false;
  executeOnce(reinterpret_cast<PINIT_ONCE>(flag), RunRoutine, reinterpret_cast<PVOID>(routine),
              nullptr);
  return true;
}
