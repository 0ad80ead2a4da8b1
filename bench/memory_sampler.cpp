#include "bench/memory_sampler.h"

#include <psapi.h>

MemorySampler::MemorySampler(HANDLE process) : process_(process) {
  thread_ = CreateThread(nullptr, 0, Loop, this, 0, nullptr);
}

MemorySampler::~MemorySampler() {
  if (thread_ != nullptr) Finish();
}

DWORD WINAPI MemorySampler::Loop(void* self) {
  auto* sampler = static_cast<MemorySampler*>(self);
  Result& result = sampler->result_;
  while (InterlockedCompareExchange(&sampler->stop_, 0, 0) == 0) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    // Once the process is gone the figures read as zero.
    if (GetProcessMemoryInfo(sampler->process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PagefileUsage > 0) {
      ++result.samples;
      if (counters.PagefileUsage > result.peak_commit) result.peak_commit = counters.PagefileUsage;
      if (counters.PeakPagefileUsage > counters.PagefileUsage) ++result.samples_with_own_peak;
      if (counters.PrivateUsage > 0) ++result.samples_with_private_usage;
    }
    Sleep(1);
  }
  return 0;
}

MemorySampler::Result MemorySampler::Finish() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
  return result_;
}
