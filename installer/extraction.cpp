#include "installer/extraction.h"

#include <iterator>

#include "host/files.h"
#include "host/process.h"
#include "host/shell.h"
#include "installer/payload.h"

namespace {

constexpr int kPassLimit = 4;
// Reported at the start of passes 1 to 3; pass 4 starts without a report.
constexpr int32_t kPassStartPositions[] = {33, 66, 100};
// Reported once the executable has been dealt with, found or written.
constexpr int32_t kExecutableDealtWithPosition = 33;
constexpr const char* kLinkName = "\\Quillmere";
constexpr const Payload& kApplication = PayloadTable[0];

Text TargetPath(const ExtractionHost& host, const Payload& payload) {
  return Join(host.RunDirectory(), payload.target_name);
}

// Writes the first missing target in table order and tells whether all of
// them were already present.
bool AllPresentOrWriteFirstMissing(Progress progress, const ExtractionHost& host) {
  for (const Payload& payload : PayloadTable) {
    const bool present = host.FileExists(TargetPath(host, payload));
    // The outcome of a write is not looked at: the next pass tests again.
    if (!present) host.WriteBytesToFile(TargetPath(host, payload), *payload.contents);
    if (&payload == &kApplication) progress(kExecutableDealtWithPosition);
    if (!present) return false;
  }
  return true;
}

// Without a desktop the link path would be "\Quillmere" alone, a shortcut in
// the root of the current drive: then the link path stays empty.
Text DesktopLinkPath(const ExtractionHost& host) {
  const Text desktop = host.DesktopDirectory();
  return desktop.Empty() ? Text() : Join(desktop, kLinkName);
}

void CreateDesktopShortcut(const ExtractionHost& host) {
  const Text link_path = DesktopLinkPath(host);
  if (link_path.Empty()) return;
  const Text target_path = TargetPath(host, kApplication);
  host.CreateShortcut(link_path, target_path);
}

}  // namespace

void RunExtraction(Progress progress, const ExtractionHost& host) {
  for (int pass = 1; pass <= kPassLimit; ++pass) {
    if (pass <= static_cast<int>(std::size(kPassStartPositions))) progress(kPassStartPositions[pass - 1]);
    if (AllPresentOrWriteFirstMissing(progress, host)) {
      CreateDesktopShortcut(host);
      host.EndProgram(0);
      return;
    }
  }
}

Text Win32ExtractionHost::RunDirectory() const { return ::RunDirectory(); }
bool Win32ExtractionHost::FileExists(const Text& path) const { return ::FileExists(path); }
bool Win32ExtractionHost::WriteBytesToFile(const Text& path, const Bytes& contents) const {
  return ::WriteBytesToFile(path, contents);
}
Text Win32ExtractionHost::DesktopDirectory() const { return ::DesktopDirectory(); }
bool Win32ExtractionHost::CreateShortcut(const Text& link_path, const Text& target_path) const {
  return ::CreateShortcut(link_path, target_path);
}
void Win32ExtractionHost::EndProgram(int32_t exit_code) const { ::EndProgram(exit_code); }

void RunExtraction(Progress progress) { RunExtraction(progress, Win32ExtractionHost()); }
