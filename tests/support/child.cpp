#include "tests/support/child.h"

#include "tests/support/scratch.h"

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  HANDLE write_end = nullptr;
  if (!CreatePipe(&output_, &write_end, &inheritable, 0)) return;
  SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command_line = L"\"" + LongPath(program) + L"\" " + LongPath(arguments);
  PROCESS_INFORMATION info = {};
  // No console of its own: Wine would start a console host that inherits the
  // pipe and keeps it open after the child has gone.
  if (CreateProcessW(LongPath(program).c_str(), command_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
  CloseHandle(write_end);
}

ChildProcess::~ChildProcess() {
  if (process_ != nullptr) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    CloseHandle(process_);
  }
  if (output_ != nullptr) CloseHandle(output_);
}

DWORD ChildProcess::Finish(std::string* output, DWORD timeout_ms) {
  if (process_ == nullptr) return STILL_ACTIVE;
  if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
    return STILL_ACTIVE;
  }
  // All the child wrote is in the pipe now. Read only what is there: another
  // process may still hold the write end, so the end of the pipe may never come.
  char buffer[4096];
  DWORD available = 0, done = 0;
  while (PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
         ReadFile(output_, buffer, sizeof(buffer), &done, nullptr) && done > 0) {
    output->append(buffer, done);
  }
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::string ProbePath() { return ProgramFolder() + "\\probe.exe"; }

DWORD RunProbe(const std::string& probe_path, const std::string& arguments, std::string* output) {
  ChildProcess child(probe_path, arguments);
  if (!child.Started()) return STILL_ACTIVE;
  return child.Finish(output);
}

namespace {

struct WindowSearch {
  DWORD process_id;
  const char* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[64] = "";
  GetClassNameA(window, class_name, sizeof(class_name));
  if (owner == search->process_id && IsWindowVisible(window) &&
      (search->class_name == nullptr || lstrcmpA(class_name, search->class_name) == 0)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForWindowOf(DWORD process_id, const char* class_name, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search = {process_id, class_name, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(20);
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

std::string UnixCommandOutput(const std::string& command, DWORD timeout_ms) {
  // A folder under the Unix /tmp, so that both sides know its path. Wine
  // does not wait on a Unix child, so the command says it is done by
  // renaming its output into place.
  ScratchFolder folder(WindowsPathOf("/tmp"), "");
  std::string unix_folder = folder.Path().substr(2);
  for (char& c : unix_folder) c = c == '\\' ? '/' : c;
  std::string line = "Z:\\bin\\sh -c \"{ " + command + "; } >" + unix_folder + "/out.tmp 2>&1; mv " +
                     unix_folder + "/out.tmp " + unix_folder + "/out\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return {};
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  std::string output;
  const DWORD start = GetTickCount();
  while (!ReadWholeFile(folder / "out", &output) && GetTickCount() - start < timeout_ms) Sleep(20);
  return output;
}
