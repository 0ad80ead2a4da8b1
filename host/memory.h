#pragma once

#include <cstdint>

// Memory from the process heap. A request that cannot be met stops the
// program through the fatal error box; callers never see a null pointer.
void* AllocateOrStop(int32_t bytes);
void Release(void* memory);
