// The baseline for size, start-up and memory: one empty window of the start
// window's size, built and entered the way the installer is, with nothing
// else in it.
#include <windows.h>

namespace {

constexpr char kWindowClass[] = "QuillmereBenchWindow";
constexpr int kWidth = 380;
constexpr int kHeight = 250;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

int Run() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExA(&window_class)) return -1;

  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExA(0, kWindowClass, "Bench", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                left, top, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return -1;
  ShowWindow(window, SW_SHOW);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

// Windows starts a process with the stack aligned to 4 bytes only.
extern "C" [[noreturn]] __attribute__((force_align_arg_pointer)) void EntryPoint() {
  ExitProcess(static_cast<UINT>(Run()));
}
