#include "tests/support/input.h"

#include <vector>

namespace {

INPUT Key(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT Mouse(DWORD flags, POINT point) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, false));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(Key(*key, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT point) {
  // The pointer arrives first, as a hand would bring it.
  INPUT move = Mouse(MOUSEEVENTF_MOVE, point);
  SendInput(1, &move, sizeof(INPUT));
  Sleep(50);
  INPUT press[] = {Mouse(MOUSEEVENTF_LEFTDOWN, point), Mouse(MOUSEEVENTF_LEFTUP, point)};
  SendInput(2, press, sizeof(INPUT));
}

void ClickCentreOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i) Sleep(10);
  return GetForegroundWindow() == window;
}
