#include "host/files.h"

#include <windows.h>

#include "host/handles.h"

bool FileExists(const Text& path) {
  WIN32_FIND_DATAA found;
  return static_cast<bool>(FindHandle(FindFirstFileA(path.CStr(), &found)));
}

bool WriteBytesToFile(const Text& path, std::span<const Bytes* const> blocks) {
  if (path.Empty()) return false;

  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  FileHandle file(CreateFileA(path.CStr(), GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;

  bool written = true;
  for (const Bytes* block : blocks) {
    if (block->length <= 0) continue;
    DWORD done = 0;
    const DWORD wanted = static_cast<DWORD>(block->length);
    // A full disk may report success with fewer bytes written.
    if (!WriteFile(file.Get(), block->Data(), wanted, &done, nullptr) || done != wanted) {
      written = false;
      break;
    }
  }
  const bool closed = file.Close();
  if (written && closed) return true;

  // A cut-short file would count as present from now on and never be
  // written again, so it goes.
  DeleteFileA(path.CStr());
  return false;
}

bool WriteBytesToFile(const Text& path, const Bytes& block) {
  const Bytes* const blocks[] = {&block};
  return WriteBytesToFile(path, blocks);
}
