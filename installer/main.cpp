// The process entry, in place of the C runtime's start-up: the installer
// uses nothing of it (no command line, no environment, no constructors of
// static objects), so nothing runs before this function and the image keeps
// only the code that the installer itself needs.
#include <windows.h>

#include "host/dll_loading.h"
#include "host/process.h"
#include "installer/program.h"

// Windows starts a process with the stack aligned to 4 bytes only.
extern "C" [[noreturn]] __attribute__((force_align_arg_pointer)) void EntryPoint() {
  RestrictDllLoadingToSystemFolder();
  EndProgram(StartProgram());
}
