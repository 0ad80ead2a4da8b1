#include "bench/floor.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "installer/payload.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.rfind('\\'));
}

bool WriteBlock(const std::string& path, const Bytes& block) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  const bool written = WriteFile(file, block.Data(), static_cast<DWORD>(block.length), &done, nullptr) &&
                       done == static_cast<DWORD>(block.length);
  return CloseHandle(file) && written;
}

bool SaveLink(const wchar_t* link, const char* target) {
  IShellLinkA* shell_link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shell_link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    shell_link->SetPath(target);
    saved = SUCCEEDED(file->Save(link, TRUE));
    file->Release();
  }
  shell_link->Release();
  return saved;
}

DWORD SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return MAXDWORD;
  return data.nFileSizeLow;
}

}  // namespace

Floor::Floor() {
  const std::string folder = ProgramFolder();
  for (int i = 0; i < 3; ++i) files_[i] = folder + PayloadTable[i].target_name;
  char desktop[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  link_ = std::string(desktop) + "\\Quillmere.lnk";
  wide_link_.resize(link_.size() + 1);
  wide_link_.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, link_.c_str(), -1, wide_link_.data(), static_cast<int>(wide_link_.size())) - 1));
}

bool Floor::Run() const {
  bool done = true;
  for (int i = 0; i < 3; ++i) done = WriteBlock(files_[i], *PayloadTable[i].contents) && done;
  return SaveLink(wide_link_.c_str(), files_[0].c_str()) && done;
}

void Floor::Clear() const {
  for (const std::string& file : files_) DeleteFileA(file.c_str());
  DeleteFileA(link_.c_str());
}

bool Floor::Complete() const {
  for (int i = 0; i < 3; ++i) {
    if (SizeOf(files_[i]) != static_cast<DWORD>(PayloadTable[i].contents->length)) return false;
  }
  return GetFileAttributesA(link_.c_str()) != INVALID_FILE_ATTRIBUTES;
}
