// Linked with the installer's own code, to stop it fatally from outside its
// normal course:
//   window_harness              moves the progress bar before any start window exists
//   window_harness with-window  runs out of memory while the start window is up
#include <windows.h>

#include "host/memory.h"
#include "installer/start_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  if (lstrcmpA(command_line, "with-window") == 0) {
    LoadStartWindow();
    AllocateOrStop(0x7FFFFFF0);
    return 0;
  }
  SetProgressPosition(33);
  return 0;
}
