#include "installer/start_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "host/process.h"
#include "installer/extraction.h"
#include "installer/start_window_layout.h"

namespace {

constexpr char kWindowClass[] = "QuillmereStartWindow";
constexpr char kLabelClass[] = "QuillmereLabel";
constexpr char kIconName[] = "DEFAULT_ICON";
constexpr int kFirstControlId = 1001;
constexpr int kControlCount = static_cast<int>(std::size(StartWindowLayout.controls));

// The furthest SetProgressPosition lets a position go before the bar's own
// range applies.
constexpr int32_t kLargestPosition = 0x7FFF;

// What the bar keeps besides its window.
struct ProgressBarState {
  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t last_asked = 0;
};

struct StartWindow {
  HWND window = nullptr;
  HWND controls[kControlCount] = {};
  HWND progress_bar = nullptr;
  HWND button = nullptr;
  ProgressBarState bar;
};

// The loaded-window set: the installer makes one start window, so the set
// is this one slot, filled from creation until WM_NCDESTROY.
constinit StartWindow g_start_window;
constinit bool g_start_window_loaded = false;
constinit bool g_message_loop_started = false;

// The label's layout entry, kept with its window from WM_NCCREATE on.
const ControlLayout* LabelLayoutOf(HWND label) {
  return reinterpret_cast<const ControlLayout*>(GetWindowLongPtrA(label, GWLP_USERDATA));
}

// Selects a GDI object into a DC for one scope and selects the previous one
// back when it ends.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

void FillWithColor(HDC dc, const RECT& rect, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The text comes from the layout itself, so that DrawTextA gets the
// literal's code page 936 bytes whatever the system's code page.
void PaintLabel(HDC dc, RECT rect, const ControlLayout& layout) {
  FillWithColor(dc, rect, StartWindowLayout.background);
  const char* text = layout.text;
  if (*text == '\0') return;
  const ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, layout.text_color);
  // One line, never wrapped, cut at the edges; an ampersand is drawn as is.
  DrawTextA(dc, text, -1, &rect, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
      SetWindowLongPtrA(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole label
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(label, &paint);
      if (!IsRectEmpty(&paint.rcPaint)) {
        RECT client;
        GetClientRect(label, &client);
        PaintLabel(dc, client, *LabelLayoutOf(label));
      }
      EndPaint(label, &paint);
      return 0;
    }
  }
  return DefWindowProcA(label, message, wparam, lparam);
}

LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillWithColor(dc, paint.rcPaint, StartWindowLayout.background);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && reinterpret_cast<HWND>(lparam) == g_start_window.button) {
        ExtractButtonClicked();
        return 0;
      }
      break;
    case WM_NCDESTROY:
      g_start_window = StartWindow();
      g_start_window_loaded = false;
      if (g_message_loop_started) PostQuitMessage(0);
      break;
  }
  // WM_CLOSE goes on to DefWindowProc, which destroys the window: nothing
  // is asked before closing.
  return DefWindowProcA(window, message, wparam, lparam);
}

[[noreturn]] void LoadFailed() { FatalStop("载入启动窗口失败"); }

// comctl32 is no KnownDLL, so it is not imported: a static import would be
// resolved before the DLL search is restricted. Loaded now, under the
// manifest's activation context, it is the side-by-side version 6.
void RegisterProgressBarClass() {
  using InitCommonControlsExCall = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE common_controls = LoadLibraryA("comctl32.dll");
  if (common_controls == nullptr) LoadFailed();
  const auto init = reinterpret_cast<InitCommonControlsExCall>(
      reinterpret_cast<void*>(GetProcAddress(common_controls, "InitCommonControlsEx")));
  if (init == nullptr) LoadFailed();
  const INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_PROGRESS_CLASS};
  init(&classes);
}

// Registered once per process: a second LoadStartWindow finds them there.
void RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  if (GetClassInfoExA(instance, name, &window_class)) return;
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.lpszClassName = name;
  if (!RegisterClassExA(&window_class)) LoadFailed();
}

struct ControlClass {
  const char* name;
  DWORD style;
  DWORD extended_style;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::ProcessBar:
      return {PROGRESS_CLASSA, 0, WS_EX_STATICEDGE};
    case ControlKind::Button:
      return {"BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlKind::Label:
      break;
  }
  return {kLabelClass, 0, 0};
}

HWND CreateControl(HWND parent, HINSTANCE instance, int index) {
  const ControlLayout& layout = StartWindowLayout.controls[index];
  const ControlClass control_class = ClassOf(layout.kind);
  HWND control = CreateWindowExA(control_class.extended_style, control_class.name, layout.text,
                                 WS_CHILD | WS_CLIPSIBLINGS | control_class.style, layout.left, layout.top,
                                 layout.width, layout.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                                 instance, const_cast<ControlLayout*>(&layout));
  if (control == nullptr) LoadFailed();
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (layout.kind == ControlKind::ProcessBar) {
    SendMessageA(control, PBM_SETRANGE, 0,
                 MAKELPARAM(g_start_window.bar.minimum, g_start_window.bar.maximum));
    SendMessageA(control, PBM_SETPOS, 0, 0);
  }
  return control;
}

}  // namespace

void LoadStartWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterProgressBarClass();
  RegisterClassOnce(instance, kWindowClass, StartWindowProc);
  RegisterClassOnce(instance, kLabelClass, LabelProc);

  const WindowLayout& layout = StartWindowLayout;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
  HWND window = CreateWindowExA(0, kWindowClass, layout.title, layout.style, left, top, layout.width,
                                layout.height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) LoadFailed();
  g_start_window = StartWindow();
  g_start_window.window = window;

  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != layout.width || outer.bottom - outer.top != layout.height) {
    MoveWindow(window, left, top, layout.width, layout.height, TRUE);
  }

  HICON large = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON, 0, 0, 0));
  HICON small = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON, 0, 0, 0));
  KeepWindowIcons(large, small);
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

  for (int i = 0; i < kControlCount; ++i) {
    HWND control = CreateControl(window, instance, i);
    g_start_window.controls[i] = control;
    if (layout.controls[i].kind == ControlKind::ProcessBar) g_start_window.progress_bar = control;
    if (layout.controls[i].kind == ControlKind::Button) g_start_window.button = control;
  }
  // The stacking order is the table's, set here rather than left to the
  // order of creation.
  HWND above = HWND_TOP;
  for (HWND control : g_start_window.controls) {
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control;
  }
  for (HWND control : g_start_window.controls) ShowWindow(control, SW_SHOWNA);

  g_start_window_loaded = true;
  ShowWindow(window, SW_SHOW);
}

bool StartWindowLoaded() { return g_start_window_loaded; }

void MarkMessageLoopStarted() { g_message_loop_started = true; }

namespace {

bool KeyPressedAlone() {
  return GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
}

bool BelongsToStartWindow(HWND window) {
  return g_start_window_loaded && (window == g_start_window.window || IsChild(g_start_window.window, window));
}

}  // namespace

bool HandleStartWindowKey(const MSG& message) {
  if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) ||
      !BelongsToStartWindow(message.hwnd)) {
    return false;
  }
  HWND window = g_start_window.window;
  switch (message.wParam) {
    case VK_TAB: {
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
      HWND next = GetNextDlgTabItem(window, GetFocus(), shift ? TRUE : FALSE);
      if (next != nullptr) SetFocus(next);
      return true;
    }
    case VK_ESCAPE:
      if (!KeyPressedAlone()) return false;
      SendMessageA(window, WM_CLOSE, 0, 0);
      return true;
    case VK_F1:
      return KeyPressedAlone();  // the window has no help
  }
  // Enter would click the window's default push button; it has none.
  return false;
}

void SetProgressPosition(int32_t position) {
  if (!g_start_window_loaded) FatalStop("修改组件属性时发现指定窗口尚未载入");
  ProgressBarState& bar = g_start_window.bar;
  bar.last_asked = std::clamp(position, 0, kLargestPosition);
  const int32_t shown = std::clamp(bar.last_asked, bar.minimum, bar.maximum);
  SendMessageA(g_start_window.progress_bar, PBM_SETPOS, static_cast<WPARAM>(shown), 0);
}

void ExtractButtonClicked() { RunExtraction(SetProgressPosition); }
