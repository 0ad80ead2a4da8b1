#include "tests/support/scratch.h"

#include <windows.h>

#include <atomic>

namespace {

std::string NewFolderUnder(const std::string& parent, std::string_view name_part) {
  static std::atomic<int> counter{0};
  for (;;) {
    std::string path = parent + "\\qm-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(counter++) + std::string(name_part);
    if (CreateDirectoryA(path.c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

std::string TempFolder() {
  char buffer[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  std::string folder(buffer, length);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

ScratchFolder::ScratchFolder(std::string_view name_part) : ScratchFolder(TempFolder(), name_part) {}

ScratchFolder::ScratchFolder(std::string parent, std::string_view name_part)
    : path_(NewFolderUnder(parent, name_part)) {}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) RemoveTree(path_);
}

std::string WindowsPathOf(std::string_view unix_path) {
  std::string path = "Z:";
  for (char c : unix_path) path += c == '/' ? '\\' : c;
  return path;
}

std::string ProgramFolder() {
  char buffer[4096];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
  std::string path(buffer, length);
  return path.substr(0, path.rfind('\\'));
}

bool ReadWholeFile(const std::string& path, std::string* contents) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  contents->clear();
  char buffer[65536];
  DWORD done = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof(buffer), &done, nullptr)) && done > 0)
    contents->append(buffer, done);
  CloseHandle(file);
  return ok;
}

bool WriteWholeFile(const std::string& path, std::string_view contents) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  const bool ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &done, nullptr) &&
                  done == contents.size();
  return CloseHandle(file) && ok;
}

std::wstring LongPath(const std::string& path) {
  std::wstring wide(path.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                                      static_cast<int>(wide.size()))) -
              1);
  return path.size() >= 2 && path[1] == ':' ? L"\\\\?\\" + wide : wide;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(LongPath(path).c_str(), nullptr); }

bool CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileW(LongPath(from).c_str(), LongPath(to).c_str(), FALSE);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}
