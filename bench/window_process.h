#pragma once

#include <windows.h>

#include <string>

// A GUI program started from its own folder and watched from outside, as
// the desktop shell would start it.
class WindowProcess {
 public:
  explicit WindowProcess(const std::string& program, const std::string& arguments = "");
  WindowProcess(const WindowProcess&) = delete;
  WindowProcess& operator=(const WindowProcess&) = delete;
  // Ends it if it is still running.
  ~WindowProcess();

  bool Started() const { return process_ != nullptr; }
  HANDLE Handle() const { return process_; }

  // Waits until the process is idle for input and a top-level window of it
  // is visible; nullptr when that does not happen within the wait.
  HWND WaitUntilShown(DWORD timeout_ms = 20000);

  // The exit code once it has ended, STILL_ACTIVE when it did not in time.
  DWORD WaitForExit(DWORD timeout_ms = 20000);

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The folder part of a Windows path.
std::string FolderOf(const std::string& path);
