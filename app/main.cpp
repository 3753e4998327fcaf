#include <windows.h>

// The window arrives with the toolkit; until then the program opens nothing.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
