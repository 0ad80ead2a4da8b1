#pragma once

#include <string>
#include <string_view>
#include <vector>

// Test support, in code page 936 bytes like the product: paths are
// std::string here for convenience.

// A fresh, empty folder per test, removed with everything in it afterwards.
class ScratchFolder {
 public:
  // name_part goes into the folder's own name, so that a test can put
  // double-byte characters there.
  explicit ScratchFolder(std::string_view name_part = "");
  explicit ScratchFolder(std::string parent, std::string_view name_part);
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

 private:
  std::string path_;
};

// The Windows path (drive Z:) of a Unix path.
std::string WindowsPathOf(std::string_view unix_path);

// The folder of the running test program.
std::string ProgramFolder();

// The UTF-16 form of a path that the ...W calls take at any length.
std::wstring LongPath(const std::string& path);

// These take paths of any length: past MAX_PATH the ...A calls give up.
bool PathExists(const std::string& path);
bool MakeFolder(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
std::vector<std::string> FolderEntries(const std::string& folder);

bool ReadWholeFile(const std::string& path, std::string* contents);
bool WriteWholeFile(const std::string& path, std::string_view contents);
void RemoveTree(const std::string& path);
