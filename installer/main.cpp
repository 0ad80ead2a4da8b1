// The process entry: no command line, no environment, no settings.
#include <windows.h>

#include "host/process.h"
#include "installer/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int exit_code = StartProgram();
  CleanUpForExit();
  ExitProcess(static_cast<UINT>(exit_code));
}
