#include "tests/support/installer.h"

#include <shlobj.h>

#include "tests/support/input.h"

InstallerRun::InstallerRun(const std::string& run_folder, const std::string& installer)
    : program_(run_folder + "\\Quillmere-setup.exe") {
  if (CopyFileTo(installer, program_)) process_ = std::make_unique<ChildProcess>(program_, "");
}

HWND InstallerRun::Window() {
  if (window_ == nullptr && Started()) window_ = WaitForWindowOf(process_->Id(), "QuillmereStartWindow");
  return window_;
}

std::vector<HWND> InstallerRun::Controls() {
  std::vector<HWND> controls;
  if (Window() == nullptr) return controls;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    controls.push_back(child);
  }
  return controls;
}

namespace {

HWND ControlOfClass(const std::vector<HWND>& controls, const char* wanted) {
  for (HWND control : controls) {
    char name[64] = "";
    GetClassNameA(control, name, sizeof(name));
    if (lstrcmpiA(name, wanted) == 0) return control;
  }
  return nullptr;
}

}  // namespace

HWND InstallerRun::Button() { return ControlOfClass(Controls(), "Button"); }
HWND InstallerRun::ProgressBar() { return ControlOfClass(Controls(), "msctls_progress32"); }

bool InstallerRun::Responsive(DWORD timeout_ms) {
  DWORD_PTR result = 0;
  return Window() != nullptr &&
         SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_BLOCK, timeout_ms, &result) != 0;
}

bool InstallerRun::ClickButton() {
  if (!Responsive() || !BringToFront(window_)) return false;
  // Wine maps a new window to the X server after it is shown; a click that
  // comes before that lands on the root window.
  Sleep(300);
  ClickCentreOf(Button());
  return true;
}

DWORD InstallerRun::ExitCode(DWORD timeout_ms) {
  if (!Started()) return STILL_ACTIVE;
  std::string ignored;
  return process_->Finish(&ignored, timeout_ms);
}

std::string DesktopFolder() {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
  return path;
}

std::string DesktopShortcut() { return DesktopFolder() + "\\Quillmere.lnk"; }

std::string BuiltInstaller() { return WindowsPathOf(QUILLMERE_INSTALLER); }

std::string PayloadFile(const std::string& name) {
  return WindowsPathOf(QUILLMERE_PAYLOAD_DIR) + "\\" + name;
}
