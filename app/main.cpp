#include <windows.h>

#include "digest/register_digest_plugins.h"

// The window arrives with the toolkit; until then the program only registers its digests.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RegisterDigestPlugins();
  return 0;
}
