// Process start to the window visible and idle, for two programs in turn:
//   startup_bench REPS PROGRAM_A PROGRAM_B   one line "rep <A ms> <B ms>" per repetition
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/clock.h"
#include "bench/window_process.h"

namespace {

// Starts the program, waits for its window, closes it with WM_CLOSE and
// waits for a clean end. Gives the time to the shown window, or -1.
double TimeToShown(const std::string& program) {
  const double start = NowMs();
  WindowProcess process(program);
  HWND window = process.WaitUntilShown();
  const double shown_ms = NowMs() - start;
  if (window == nullptr) return -1;
  PostMessageA(window, WM_CLOSE, 0, 0);
  return process.WaitForExit() == 0 ? shown_ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const int repetitions = std::atoi(argv[1]);
  const std::string programs[2] = {argv[2], argv[3]};
  // A first start of each, not counted: the DLLs come from disk once.
  for (const std::string& program : programs) {
    if (TimeToShown(program) < 0) {
      std::fprintf(stderr, "startup_bench: %s did not show a window and close cleanly\n", program.c_str());
      return 1;
    }
  }
  for (int i = 0; i < repetitions; ++i) {
    double ms[2];
    for (int k = 0; k < 2; ++k) {
      const int which = (i + k) % 2;  // alternating which goes first
      ms[which] = TimeToShown(programs[which]);
      if (ms[which] < 0) {
        std::fprintf(stderr, "startup_bench: %s failed in repetition %d\n", programs[which].c_str(), i);
        return 1;
      }
    }
    std::printf("rep %.3f %.3f\n", ms[0], ms[1]);
    std::fflush(stdout);
  }
  return 0;
}
