#include "host/shell.h"

#include <windows.h>
#include <shlobj.h>

#include "host/handles.h"

Text DesktopDirectory() {
  char path[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return Text();
  return WithTrailingBackslash(path, lstrlenA(path));
}

Text WithTrailingBackslash(const char* directory, int32_t length) {
  // Only the last byte is looked at, by design: a path that ends in a
  // double-byte character whose second byte is 0x5C gets no backslash. The
  // link name joined to it brings its own, so the link still lands inside.
  if (length == 0 || directory[length - 1] == '\\') return Text(directory, length);
  return Join(Text(directory, length), "\\");
}

Text LinkFilePath(const Text& link_path) {
  const char* name = link_path.CStr() + LastSeparator(link_path.CStr(), link_path.Length()) + 1;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c == '.') return Text(link_path.CStr(), link_path.Length());
  }
  return Join(link_path, ".lnk");
}

bool CreateShortcut(const Text& link_path, const Text& target_path) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.PutVoid()))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;

  // Only the save decides the outcome.
  link->SetPath(target_path.CStr());
  link->SetShowCmd(SW_SHOW);

  const WideText wide_path(LinkFilePath(link_path));
  return SUCCEEDED(file->Save(wide_path.CStr(), TRUE));
}
