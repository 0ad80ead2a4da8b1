// Peak committed private memory of whole runs, seen from this parent, for programs in
// turn:
//   memory_bench REPS ACTION PROGRAM [ACTION PROGRAM...]
// ACTION is what a run is: "close" (shown, then WM_CLOSE), "click" (shown,
// the button clicked, the program ends by itself) or "once" (started with
// the argument "once", ends by itself). One line "rep <KiB>..." per
// repetition, in the order given, then "sampling <samples> <with a peak
// above the current value> <with a PrivateUsage>".
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/memory_sampler.h"
#include "bench/window_process.h"

namespace {

struct Run {
  std::string action;
  std::string program;
};

constexpr const char* kInstallerTargets[] = {"\\Quillmere.exe", "\\定期存款.edb", "\\到期存款.edb"};

// The installer's run leaves its files and the desktop link: they must all
// be there, and go, so that the next run starts from an empty folder again.
bool TakeInstallerOutput(const std::string& folder) {
  std::vector<std::string> paths;
  for (const char* name : kInstallerTargets) paths.push_back(folder + name);
  char desktop[MAX_PATH] = "";
  if (SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) {
    paths.push_back(std::string(desktop) + "\\Quillmere.lnk");
  }
  bool all_there = paths.size() == 4;
  for (const std::string& path : paths) all_there = DeleteFileA(path.c_str()) && all_there;
  return all_there;
}

HWND ButtonOf(HWND window) { return FindWindowExA(window, nullptr, "Button", nullptr); }

bool Finish(const Run& run, WindowProcess& process) {
  if (run.action == "once") return process.WaitForExit() == 0;
  HWND window = process.WaitUntilShown();
  if (window == nullptr) return false;
  if (run.action == "click") {
    HWND button = ButtonOf(window);
    if (button == nullptr) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
  } else {
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  return process.WaitForExit() == 0;
}

bool Measure(const Run& run, MemorySampler::Result* result) {
  WindowProcess process(run.program, run.action == "once" ? "once" : "");
  if (!process.Started()) return false;
  MemorySampler sampler(process.Handle());
  const bool ended_cleanly = Finish(run, process);
  *result = sampler.Finish();
  const bool extracted = run.action != "click" || TakeInstallerOutput(FolderOf(run.program));
  return ended_cleanly && extracted && result->samples > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) return 2;
  const int repetitions = std::atoi(argv[1]);
  std::vector<Run> runs;
  for (int i = 2; i + 1 < argc; i += 2) runs.push_back({argv[i], argv[i + 1]});

  long samples = 0, samples_with_own_peak = 0, samples_with_private_usage = 0;
  for (int i = 0; i <= repetitions; ++i) {
    std::vector<SIZE_T> kib(runs.size());
    for (size_t k = 0; k < runs.size(); ++k) {
      const size_t which = (k + static_cast<size_t>(i)) % runs.size();  // rotating which goes first
      MemorySampler::Result result;
      if (!Measure(runs[which], &result)) {
        std::fprintf(stderr, "memory_bench: %s (%s) did not run cleanly\n", runs[which].program.c_str(),
                     runs[which].action.c_str());
        return 1;
      }
      kib[which] = result.peak_commit / 1024;
      samples += result.samples;
      samples_with_own_peak += result.samples_with_own_peak;
      samples_with_private_usage += result.samples_with_private_usage;
    }
    if (i == 0) continue;  // the first round only warms the file cache
    std::printf("rep");
    for (SIZE_T value : kib) std::printf(" %lu", static_cast<unsigned long>(value));
    std::printf("\n");
    std::fflush(stdout);
  }
  std::printf("sampling %ld %ld %ld\n", samples, samples_with_own_peak, samples_with_private_usage);
  return 0;
}
