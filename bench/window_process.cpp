#include "bench/window_process.h"

namespace {

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

WindowProcess::WindowProcess(const std::string& program, const std::string& arguments) {
  std::string command_line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  const std::string folder = FolderOf(program);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                     folder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

WindowProcess::~WindowProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
  }
  CloseHandle(process_);
}

HWND WindowProcess::WaitUntilShown(DWORD timeout_ms) {
  if (process_ == nullptr) return nullptr;
  const DWORD start = GetTickCount();
  if (WaitForInputIdle(process_, timeout_ms) != 0) return nullptr;
  // Idle comes with the first empty look at the queue, after the window was
  // shown; the poll is only for a window that shows later than that.
  for (;;) {
    Search search = {id_, nullptr};
    EnumWindows(MatchVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (GetTickCount() - start > timeout_ms) return nullptr;
    Sleep(1);
  }
}

DWORD WindowProcess::WaitForExit(DWORD timeout_ms) {
  if (process_ == nullptr || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}
