// The process entry: hands over to Main at once. Main reads the instance and the command line itself.
#include <windows.h>

#include "app/mdlMain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return quillon::Main(); }
