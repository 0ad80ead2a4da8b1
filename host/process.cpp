#include "host/process.h"

#include <ole2.h>

#include "host/memory.h"

namespace {

// Recorded once and kept for the life of the process: the buffer that the
// executable's path was read into, cut short after the directory.
constinit const char* g_run_directory = "";
constinit int32_t g_run_directory_length = 0;

// The installer registers one routine; a few more places cost nothing.
constexpr int kEndRoutineCapacity = 8;
constinit EndRoutine g_end_routines[kEndRoutineCapacity] = {};
constinit int g_end_routine_count = 0;

constinit HICON g_window_icons[2] = {};
constinit bool g_ole_initialized = false;

}  // namespace

int32_t RunDirectoryLength(const char* path, int32_t length) {
  const int32_t separator = LastSeparator(path, length);
  return separator < 0 ? 0 : separator;
}

void RecordRunDirectory() {
  // A path cut short at MAX_PATH would name another folder, so the buffer
  // grows until the whole path fits. GetModuleFileNameA fills the buffer to
  // the last byte exactly when the path does not fit.
  for (DWORD size = MAX_PATH;; size *= 2) {
    char* path = static_cast<char*>(AllocateOrStop(static_cast<int32_t>(size)));
    const DWORD length = GetModuleFileNameA(nullptr, path, size);
    if (length < size || size >= 0x10000) {
      g_run_directory_length = length < size ? RunDirectoryLength(path, static_cast<int32_t>(length)) : 0;
      path[g_run_directory_length] = '\0';
      g_run_directory = path;
      break;
    }
    Release(path);
  }
  SetCurrentDirectoryA(g_run_directory);
}

Text RunDirectory() { return Text(g_run_directory, g_run_directory_length); }

void InitializeOle() {
  if (g_ole_initialized) return;
  OleInitialize(nullptr);
  g_ole_initialized = true;
}

void RegisterEndRoutine(EndRoutine routine) {
  for (int i = 0; i < g_end_routine_count; ++i) {
    if (g_end_routines[i] == routine) return;
  }
  if (g_end_routine_count == kEndRoutineCapacity) FatalStop("结束例程过多");
  g_end_routines[g_end_routine_count++] = routine;
}

void KeepWindowIcons(HICON large, HICON small) {
  g_window_icons[0] = large;
  g_window_icons[1] = small;
}

void CleanUpForExit() {
  // The count goes to zero before the calls, so that a routine that ends
  // the program itself does not run the list a second time.
  const int count = g_end_routine_count;
  g_end_routine_count = 0;
  for (int i = 0; i < count; ++i) g_end_routines[i]();

  for (HICON& icon : g_window_icons) {
    if (icon != nullptr) DestroyIcon(icon);
    icon = nullptr;
  }
  if (g_ole_initialized) {
    OleUninitialize();
    g_ole_initialized = false;
  }
}

void EndProgram(int32_t exit_code) {
  CleanUpForExit();
  ExitProcess(static_cast<UINT>(exit_code));
}

namespace {

// Appends to a fixed buffer without ever overrunning it: the fatal path
// must not need the heap, which may be what failed.
class MessageBuilder {
 public:
  MessageBuilder& operator<<(const char* text) {
    while (*text != '\0' && length_ + 1 < static_cast<int>(sizeof(buffer_))) buffer_[length_++] = *text++;
    buffer_[length_] = '\0';
    return *this;
  }
  const char* CStr() const { return buffer_; }

 private:
  char buffer_[2048] = "";
  int length_ = 0;
};

}  // namespace

void FatalStop(const char* message) {
  const DWORD last_error = GetLastError();
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  char error_line[64];
  wsprintfA(error_line, "系统错误码：%lu", last_error);

  MessageBuilder text;
  text << "运行时出错!\r\n\r\n错误信息：" << message << "\r\n\r\n程序：" << module << "\r\n" << error_line;
  // Task-modal: the box has no owner, yet the start window must take no
  // click or key while it shows, or the extraction could run again.
  MessageBoxA(nullptr, text.CStr(), "错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);

  g_end_routine_count = 0;
  EndProgram(-1);
}
