// Runs one host service in a process of its own and writes what it saw to
// standard output, raw bytes and one item a line:
//   probe run-directory   the run directory, then the executable's target path
//   probe end CODE        registers A, B and A again, then ends with CODE
//   probe out-of-memory   registers A, then asks for more memory than there is
#include <windows.h>

#include <cstdlib>

#include "host/memory.h"
#include "host/process.h"

namespace {

void Print(const char* bytes, int length) {
  DWORD done = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, static_cast<DWORD>(length), &done, nullptr);
}

void PrintLine(const Text& text) {
  Print(text.CStr(), text.Length());
  Print("\n", 1);
}

void RoutineA() { Print("A\n", 2); }
void RoutineB() { Print("B\n", 2); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* command = argv[1];
  if (lstrcmpA(command, "run-directory") == 0) {
    RecordRunDirectory();
    PrintLine(RunDirectory());
    PrintLine(Join(RunDirectory(), "\\Quillmere.exe"));
    return 0;
  }
  if (lstrcmpA(command, "end") == 0 && argc == 3) {
    InitializeOle();
    RegisterEndRoutine(RoutineA);
    RegisterEndRoutine(RoutineB);
    RegisterEndRoutine(RoutineA);
    EndProgram(std::atoi(argv[2]));
  }
  if (lstrcmpA(command, "out-of-memory") == 0) {
    RegisterEndRoutine(RoutineA);
    AllocateOrStop(0x7FFFFFF0);
    Print("returned\n", 9);
    return 0;
  }
  return 2;
}
