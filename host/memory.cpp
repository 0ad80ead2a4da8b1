#include "host/memory.h"

#include <windows.h>

#include "host/process.h"

void* AllocateOrStop(int32_t bytes) {
  void* memory = bytes >= 0 ? HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(bytes)) : nullptr;
  if (memory == nullptr) {
    char message[64];
    wsprintfA(message, "分配 %d 字节内存失败!", bytes);
    FatalStop(message);
  }
  return memory;
}

void Release(void* memory) {
  if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}
