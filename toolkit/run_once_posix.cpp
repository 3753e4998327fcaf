#include "toolkit/run_once_system.h"

// No system service here: RunOnce takes its compare-and-exchange path.
bool RunOnceThroughSystem(OnceFlag*, OnceRoutine) {
  return false;
}
