#pragma once

#include <windows.h>

#include <cstdint>

// The start window and its seven controls as data: what the window shows is
// read from this one table.

enum class ControlKind { Label, ProcessBar, Button };

struct ControlLayout {
  const char* name;
  ControlKind kind;
  int left, top, width, height;  // client coordinates of the start window
  const char* text;
  COLORREF text_color;  // labels only
};

struct WindowLayout {
  const char* title;
  int width, height;            // the outer size, frame and title bar included
  int stored_left, stored_top;  // kept with the layout; the window is centred instead
  DWORD style;
  COLORREF background;
  ControlLayout controls[7];  // in stacking order, the first on top
};

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);

inline constexpr WindowLayout StartWindowLayout = {
    "Quillmere-配置包",
    380,
    250,
    50,
    50,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    kWhite,
    {
        {"标签5", ControlKind::Label, 344, 0, 24, 24, "1.0", kBlack},
        {"标签3", ControlKind::Label, 24, 64, 152, 24, "会自动在桌面创建快捷方式", kBlack},
        {"标签4", ControlKind::Label, 24, 40, 320, 24, "建议在任意硬盘内创建一个空文件夹来放置配置包进行解压",
         kBlack},
        {"进度条1", ControlKind::ProcessBar, 16, 180, 248, 24, "", kBlack},
        {"按钮1", ControlKind::Button, 279, 175, 80, 32, "解压", kBlack},
        {"标签1", ControlKind::Label, 24, 16, 176, 24, "将该程序放置在想要安装的位置", kBlack},
        {"标签2", ControlKind::Label, 24, 152, 77, 24, "点击解压即可", kRed},
    },
};

// The table is checked where it is written: no two controls overlap, so the
// stacking order never decides what shows.
constexpr bool ControlsOverlap(const ControlLayout& a, const ControlLayout& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

constexpr bool NoControlsOverlap(const WindowLayout& layout) {
  for (const ControlLayout& a : layout.controls) {
    for (const ControlLayout& b : layout.controls) {
      if (&a != &b && ControlsOverlap(a, b)) return false;
    }
  }
  return true;
}

static_assert(NoControlsOverlap(StartWindowLayout));
