#include "installer/program.h"

#include <windows.h>

#include "host/process.h"
#include "installer/start_window.h"

namespace {

// The program's own start and end hooks; the installer needs neither.
void InitializeProgram() {}
void ProgramEndRoutine() {}

int RunMessageLoop() {
  MarkMessageLoopStarted();
  if (!StartWindowLoaded()) return 0;
  MSG message = {};
  // GetMessageA waits when nothing is there: the installer has no idle work.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (HandleStartWindowKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

}  // namespace

int StartProgram() {
  // The thread becomes a single-threaded apartment, which the shortcut needs.
  InitializeOle();
  RecordRunDirectory();
  InitializeProgram();
  RegisterEndRoutine(ProgramEndRoutine);
  LoadStartWindow();
  return RunMessageLoop();
}
