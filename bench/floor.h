#pragma once

#include <string>

// The least any extraction has to do: the three blocks written with one
// CreateFileA/WriteFile/CloseHandle each and one shell link saved, every
// path worked out beforehand.
class Floor {
 public:
  // Files beside the running program, the link on the user's desktop.
  Floor();

  // True when every file went out whole and the link was saved.
  bool Run() const;

  // Removes what Run (or the extraction) left, for the next repetition.
  void Clear() const;

  // Whether the three files are there at their sizes and the link exists.
  bool Complete() const;

 private:
  std::string files_[3];
  std::string link_;
  std::wstring wide_link_;
};
