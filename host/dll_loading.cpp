#include "host/dll_loading.h"

#include <windows.h>

#include <cstddef>

namespace {

// Loaded behind the program's back by the system DLLs it uses, and not
// KnownDLLs on every version: where the search cannot be restricted, they are
// loaded from the system folder first, so that a later load by name finds
// them already there.
constexpr const char* kPreloadedDlls[] = {
    "uxtheme.dll",  "dwmapi.dll",  "propsys.dll", "cryptbase.dll", "version.dll", "userenv.dll",
    "setupapi.dll", "apphelp.dll", "oleacc.dll",  "clbcatq.dll",   "ntmarta.dll",
};

// uxtheme, which the common controls load, delay-loads this one; Wine
// resolves delay loads past the restricted search, so it is loaded from the
// system folder by its full path in any case.
constexpr const char* kDelayLoadedByThemes[] = {"msimg32.dll"};

bool IsVista() {
  const DWORD version = GetVersion();
  return LOBYTE(LOWORD(version)) == 6 && HIBYTE(LOWORD(version)) == 0;
}

template <size_t kCount>
void PreloadFromSystemFolder(const char* const (&names)[kCount]) {
  char path[MAX_PATH];
  const UINT folder_length = GetSystemDirectoryA(path, MAX_PATH);
  if (folder_length == 0 || folder_length >= MAX_PATH - 16) return;
  for (const char* name : names) {
    lstrcpyA(path + folder_length, "\\");
    lstrcpyA(path + folder_length + 1, name);
    LoadLibraryA(path);
  }
}

}  // namespace

void RestrictDllLoadingToSystemFolder() {
  // Looked up at run time: older systems lack it. On Vista (with KB2533623)
  // it is reported by installer makers to make CoCreateInstance of the shell
  // link object fail, so Vista takes the preloading way.
  using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
  const auto set_default_dll_directories = reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (set_default_dll_directories == nullptr || IsVista() ||
      !set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryA("");  // not the current directory either
    PreloadFromSystemFolder(kPreloadedDlls);
  }
  PreloadFromSystemFolder(kDelayLoadedByThemes);
}
