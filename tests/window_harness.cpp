// Linked with the installer's own code: moves the progress bar before any
// start window exists, which must end in the fatal error box.
#include <windows.h>

#include "installer/start_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetProgressPosition(33);
  return 0;
}
