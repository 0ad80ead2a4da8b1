#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/scratch.h"

// The installer that the build left in dist/, and the payload it carries.
std::string BuiltInstaller();
std::string PayloadFile(const std::string& name);

// The built installer, copied into a run folder and started from there, seen
// from outside as a user's desktop sees it.
class InstallerRun {
 public:
  // Copies the installer (the built one unless another is named) into
  // run_folder, which must exist, and starts it.
  explicit InstallerRun(const std::string& run_folder, const std::string& installer = BuiltInstaller());

  bool Started() const { return process_ && process_->Started(); }
  ChildProcess& Process() { return *process_; }
  // The start window, once it is shown; nullptr if it never appears.
  HWND Window();
  // The controls of the start window, top of the stacking order first.
  std::vector<HWND> Controls();
  HWND Button();
  HWND ProgressBar();

  // Waits until the window takes messages again, as after a returned click.
  bool Responsive(DWORD timeout_ms = 20000);
  // Waits until the window is up and painted, brings it to the front and
  // clicks its button with the mouse.
  bool ClickButton();
  DWORD ExitCode(DWORD timeout_ms = 20000);

  const std::string& Program() const { return program_; }

 private:
  std::string program_;
  std::unique_ptr<ChildProcess> process_;
  HWND window_ = nullptr;
};

// The Wine user's own desktop folder and the installer's shortcut there.
std::string DesktopFolder();
std::string DesktopShortcut();


constexpr const char* kTargetNames[] = {"Quillmere.exe", "定期存款.edb", "到期存款.edb"};
