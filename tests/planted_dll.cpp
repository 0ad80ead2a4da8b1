// A DLL that stands in for a system DLL planted beside a program: when any
// process loads it, it leaves a marker named after itself in the folder that
// QUILLMERE_PLANT_MARKERS names.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char markers[MAX_PATH] = "";
  char path[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("QUILLMERE_PLANT_MARKERS", markers, MAX_PATH);
  if (length == 0 || length >= MAX_PATH - 1 || GetModuleFileNameA(self, path, MAX_PATH) == 0) return TRUE;
  const char* name = path;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '\\') name = c + 1;
  }
  lstrcatA(markers, "\\");
  lstrcatA(markers, name);
  HANDLE marker = CreateFileA(markers, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}
