#pragma once

#include <windows.h>

// Watches another process's committed private memory (PagefileUsage, the
// commit charge) from outside, from now until Finish, on a thread of its
// own. Wine 8 reads it as RssAnon + VmSwap of the Unix process and keeps no
// peak (PeakPagefileUsage is the current value), so the peak is the largest
// sample. Wine leaves PrivateUsage at zero.
class MemorySampler {
 public:
  explicit MemorySampler(HANDLE process);
  MemorySampler(const MemorySampler&) = delete;
  MemorySampler& operator=(const MemorySampler&) = delete;
  ~MemorySampler();

  struct Result {
    SIZE_T peak_commit = 0;  // largest PagefileUsage seen, bytes
    int samples = 0;
    // What says whether the system's own fields could be used instead:
    // samples with a PeakPagefileUsage above the current value, and with a
    // PrivateUsage other than zero.
    int samples_with_own_peak = 0;
    int samples_with_private_usage = 0;
  };

  // Stops sampling (call once the process has ended) and gives the result.
  Result Finish();

 private:
  static DWORD WINAPI Loop(void* self);

  HANDLE process_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  Result result_;
};
