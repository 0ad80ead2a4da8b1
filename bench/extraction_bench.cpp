// The extraction over the real services against the floor, in one process
// started from a scratch folder it was copied to.
//   extraction_bench time REPS   one line "rep <extraction ms> <floor ms>" per repetition
//   extraction_bench once        one extraction, for a parent that watches the memory
//   extraction_bench profile REPS  the time per extraction in each host service,
//                                  lines "service <name> <calls> <ms>"
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/clock.h"
#include "bench/floor.h"
#include "host/files.h"
#include "host/process.h"
#include "host/shell.h"
#include "installer/extraction.h"
#include "installer/payload.h"

namespace {

// The real services; only the end of the program is recorded instead of
// ending the process.
class RecordingHost final : public Win32ExtractionHost {
 public:
  void EndProgram(int32_t exit_code) const override {
    ++ends;
    last_exit_code = exit_code;
  }

  mutable int ends = 0;
  mutable int32_t last_exit_code = -1;
};

// The same services, each call timed.
class ProfilingHost final : public ExtractionHost {
 public:
  enum Service {
    kRunDirectory,
    kFileExists,
    kWriteBytesToFile,
    kDesktopDirectory,
    kCreateShortcut,
    kServices
  };
  static constexpr const char* kNames[kServices] = {"RunDirectory", "FileExists", "WriteBytesToFile",
                                                    "DesktopDirectory", "CreateShortcut"};

  // Defined ahead of its callers, which need its deduced return type.
  template <typename Call>
  auto Timed(Service service, Call call) const {
    const double start = NowMs();
    auto result = call();
    ms[service] += NowMs() - start;
    ++calls[service];
    return result;
  }

  Text RunDirectory() const override {
    return Timed(kRunDirectory, [&] { return ::RunDirectory(); });
  }
  bool FileExists(const Text& path) const override {
    return Timed(kFileExists, [&] { return ::FileExists(path); });
  }
  bool WriteBytesToFile(const Text& path, const Bytes& contents) const override {
    return Timed(kWriteBytesToFile, [&] { return ::WriteBytesToFile(path, contents); });
  }
  Text DesktopDirectory() const override {
    return Timed(kDesktopDirectory, [&] { return ::DesktopDirectory(); });
  }
  bool CreateShortcut(const Text& link_path, const Text& target_path) const override {
    return Timed(kCreateShortcut, [&] { return ::CreateShortcut(link_path, target_path); });
  }
  void EndProgram(int32_t) const override {}

  mutable int calls[kServices] = {};
  mutable double ms[kServices] = {};
};

void IgnoreProgress(int32_t) {}

bool Extract() {
  RecordingHost host;
  RunExtraction(IgnoreProgress, host);
  return host.ends == 1 && host.last_exit_code == 0;
}

// Times one run of either side and checks that it left everything behind.
bool TimeOne(bool extraction, const Floor& floor, double* ms) {
  floor.Clear();
  const double start = NowMs();
  const bool done = extraction ? Extract() : floor.Run();
  *ms = NowMs() - start;
  return done && floor.Complete();
}

int TimeRepetitions(int repetitions) {
  const Floor floor;
  double ignored;
  // One of each first, so that neither side pays for loading the shell.
  if (!TimeOne(true, floor, &ignored) || !TimeOne(false, floor, &ignored)) {
    std::fprintf(stderr, "extraction_bench: a warm-up run did not complete\n");
    return 1;
  }
  for (int i = 0; i < repetitions; ++i) {
    // Alternating which goes first, so that neither always follows the other.
    double extraction_ms = 0, floor_ms = 0;
    const bool first_extraction = i % 2 == 0;
    const bool ok = TimeOne(first_extraction, floor, first_extraction ? &extraction_ms : &floor_ms) &&
                    TimeOne(!first_extraction, floor, first_extraction ? &floor_ms : &extraction_ms);
    if (!ok) {
      std::fprintf(stderr, "extraction_bench: repetition %d did not complete\n", i);
      return 1;
    }
    std::printf("rep %.3f %.3f\n", extraction_ms, floor_ms);
  }
  floor.Clear();
  return 0;
}

int Profile(int repetitions) {
  const Floor floor;
  ProfilingHost host;
  double total_ms = 0;
  for (int i = 0; i <= repetitions; ++i) {
    floor.Clear();
    if (i == 1) host = ProfilingHost();  // the first one only warms up
    const double start = NowMs();
    RunExtraction(IgnoreProgress, host);
    if (i > 0) total_ms += NowMs() - start;
    if (!floor.Complete()) return 1;
  }
  floor.Clear();
  for (int k = 0; k < ProfilingHost::kServices; ++k) {
    std::printf("service %s %d %.3f\n", ProfilingHost::kNames[k], host.calls[k] / repetitions,
                host.ms[k] / repetitions);
  }
  std::printf("service total - %.3f\n", total_ms / repetitions);
  return 0;
}

int ExtractOnce() {
  const Floor floor;
  floor.Clear();
  const bool ok = Extract() && floor.Complete();
  floor.Clear();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (OleInitialize(nullptr) != S_OK) return 1;
  RecordRunDirectory();
  int result = 2;
  if (argc == 3 && std::strcmp(argv[1], "time") == 0) result = TimeRepetitions(std::atoi(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], "profile") == 0) result = Profile(std::atoi(argv[2]));
  if (argc == 2 && std::strcmp(argv[1], "once") == 0) result = ExtractOnce();
  std::fflush(stdout);
  OleUninitialize();
  return result;
}
