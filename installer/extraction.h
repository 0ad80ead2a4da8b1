#pragma once

#include <cstdint>

#include "host/bytes.h"
#include "host/text.h"

// The host services that the extraction uses, behind one small interface so
// that a test can stand in for the file system and for the end of the program.
class ExtractionHost {
 public:
  virtual Text RunDirectory() const = 0;
  virtual bool FileExists(const Text& path) const = 0;
  virtual bool WriteBytesToFile(const Text& path, const Bytes& contents) const = 0;
  virtual Text DesktopDirectory() const = 0;
  virtual bool CreateShortcut(const Text& link_path, const Text& target_path) const = 0;
  // The real one ends the process and does not return.
  virtual void EndProgram(int32_t exit_code) const = 0;

 protected:
  ~ExtractionHost() = default;
};

// The real Win32 services. A bench derives from it to keep the process alive
// at the end and measure everything else as it is.
class Win32ExtractionHost : public ExtractionHost {
 public:
  Text RunDirectory() const override;
  bool FileExists(const Text& path) const override;
  bool WriteBytesToFile(const Text& path, const Bytes& contents) const override;
  Text DesktopDirectory() const override;
  bool CreateShortcut(const Text& link_path, const Text& target_path) const override;
  void EndProgram(int32_t exit_code) const override;
};

// Takes one position of the progress bar: 33, 66 or 100.
using Progress = void (*)(int32_t position);

// Writes the embedded files that are missing from the run directory, one per
// pass, never over an existing one. The first pass that finds all three
// present puts the shortcut on the desktop and ends the program with exit
// code 0. Returns only when four passes went by without that.
void RunExtraction(Progress progress, const ExtractionHost& host);

// The same over the real Win32 services.
void RunExtraction(Progress progress);
