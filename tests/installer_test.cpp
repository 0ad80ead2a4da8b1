// The built installer end to end: started in a folder of its own, driven by
// real input and looked at from outside, as a user would see it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "tests/support/input.h"
#include "tests/support/installer.h"
#include "tests/support/scratch.h"

namespace {

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT ClientRectIn(HWND parent, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Each test starts and ends with no shortcut on the desktop.
class Installer : public testing::Test {
 protected:
  void SetUp() override { DeleteFileA(DesktopShortcut().c_str()); }
  void TearDown() override { DeleteFileA(DesktopShortcut().c_str()); }

  std::vector<std::string> Entries() const { return FolderEntries(run.Path()); }

  ScratchFolder run{"-安装"};
};

// A property of the X window behind a Wine window, as xprop prints it.
std::string XWindowProperty(HWND window, const std::string& property) {
  const auto x_window = reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
  if (x_window == 0) return {};
  return UnixCommandOutput("xprop -id " + std::to_string(x_window) + " " + property + " | head -n 1");
}

struct ExpectedControl {
  const char* class_name;
  RECT client;
  const char* text;
};

// In stacking order, the top first.
const ExpectedControl kExpectedControls[] = {
    {"QuillmereLabel", {344, 0, 368, 24}, "1.0"},
    {"QuillmereLabel", {24, 64, 176, 88}, "会自动在桌面创建快捷方式"},
    {"QuillmereLabel", {24, 40, 344, 64}, "建议在任意硬盘内创建一个空文件夹来放置配置包进行解压"},
    {"msctls_progress32", {16, 180, 264, 204}, ""},
    {"Button", {279, 175, 359, 207}, "解压"},
    {"QuillmereLabel", {24, 16, 200, 40}, "将该程序放置在想要安装的位置"},
    {"QuillmereLabel", {24, 152, 101, 176}, "点击解压即可"},
};

TEST_F(Installer, StartWindowIsLaidOutAsDesigned) {
  InstallerRun installer(run.Path());
  HWND window = installer.Window();
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(TextOf(window), "Quillmere-\xC5\xE4\xD6\xC3\xB0\xFC");  // "配置包" in code page 936
  RECT outer;
  GetWindowRect(window, &outer);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - 380) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - 250) / 2;
  EXPECT_EQ(outer.left, left);
  EXPECT_EQ(outer.top, top);
  EXPECT_EQ(outer.right - outer.left, 380);
  EXPECT_EQ(outer.bottom - outer.top, 250);

  const LONG style = GetWindowLongA(window, GWL_STYLE);
  for (LONG wanted : {WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_CLIPCHILDREN, WS_VISIBLE}) {
    EXPECT_EQ(style & wanted, wanted) << std::hex << wanted;
  }
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_DISABLED), 0);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "an owned window has no taskbar button";
  // Wine answers WM_GETICON from another process with nothing, so the icon
  // is read where the desktop takes it from: the X window's own property.
  EXPECT_EQ(XWindowProperty(window, "_NET_WM_ICON").rfind("_NET_WM_ICON(CARDINAL) = \tIcon (120 x 128):", 0),
            0u);

  const std::vector<HWND> controls = installer.Controls();
  ASSERT_EQ(controls.size(), std::size(kExpectedControls));
  for (size_t i = 0; i < controls.size(); ++i) {
    const ExpectedControl& expected = kExpectedControls[i];
    SCOPED_TRACE(expected.text);
    EXPECT_EQ(ClassOf(controls[i]), expected.class_name);
    const RECT client = ClientRectIn(window, controls[i]);
    EXPECT_TRUE(EqualRect(&client, &expected.client))
        << client.left << "," << client.top << "," << client.right << "," << client.bottom;
    EXPECT_EQ(TextOf(controls[i]), expected.text);
    const LONG control_style = GetWindowLongA(controls[i], GWL_STYLE);
    EXPECT_TRUE(control_style & WS_VISIBLE);
    EXPECT_FALSE(control_style & WS_DISABLED);
    EXPECT_EQ((control_style & WS_TABSTOP) != 0, ClassOf(controls[i]) == "Button");
  }

  HWND button = installer.Button();
  const LONG button_style = GetWindowLongA(button, GWL_STYLE);
  EXPECT_EQ(button_style & BS_TYPEMASK, BS_PUSHBUTTON) << "not a default button";
  EXPECT_EQ(button_style & (BS_CENTER | BS_VCENTER | BS_MULTILINE), BS_CENTER | BS_VCENTER | BS_MULTILINE);

  HWND bar = installer.ProgressBar();
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_STATICEDGE);
  EXPECT_EQ(GetWindowLongA(bar, GWL_STYLE) & (PBS_VERTICAL | PBS_SMOOTH), 0);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.ExitCode(), 0u);
}

// What the screen shows inside one control.
struct Colours {
  int white = 0, dark = 0, red = 0, other = 0;
};

Colours CountColours(HWND control) {
  Colours counts;
  RECT rect;
  GetWindowRect(control, &rect);
  HDC screen = GetDC(nullptr);
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
      if (r > 240 && g > 240 && b > 240) {
        ++counts.white;
      } else if (r < 100 && g < 100 && b < 100) {
        ++counts.dark;
      } else if (r > 180 && g < 90 && b < 90) {
        ++counts.red;
      } else {
        ++counts.other;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return counts;
}

TEST_F(Installer, LabelsPaintBlackOnWhiteAndTheHintInRed) {
  InstallerRun installer(run.Path());
  ASSERT_NE(installer.Window(), nullptr);
  ASSERT_TRUE(installer.Responsive());
  Sleep(300);  // let the first paint reach the screen

  for (HWND control : installer.Controls()) {
    if (ClassOf(control) != "QuillmereLabel") continue;
    const std::string text = TextOf(control);
    SCOPED_TRACE(text);
    const Colours colours = CountColours(control);
    const int total = colours.white + colours.dark + colours.red + colours.other;
    EXPECT_GT(colours.white, total / 2) << "background";
    if (text == "点击解压即可") {
      EXPECT_GT(colours.red, 20);
      EXPECT_EQ(colours.dark, 0);
    } else {
      EXPECT_GT(colours.dark, 2);  // "1.0" is small
      EXPECT_EQ(colours.red, 0);
    }
  }
  PostMessageA(installer.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.ExitCode(), 0u);
}

std::string LinkTarget(const std::string& link_file) {
  std::string target;
  if (FAILED(OleInitialize(nullptr))) return target;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link_file.c_str(), -1, wide, MAX_PATH);
  char path[MAX_PATH] = "";
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(wide, STGM_READ)) &&
      SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
    target = path;
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  OleUninitialize();
  return target;
}

TEST_F(Installer, ClickInAnEmptyFolderInstallsAndEndsWithZero) {
  InstallerRun installer(run.Path());
  ASSERT_TRUE(installer.ClickButton());
  EXPECT_EQ(installer.ExitCode(), 0u);

  for (const char* name : kTargetNames) {
    SCOPED_TRACE(name);
    std::string written, expected;
    ASSERT_TRUE(ReadWholeFile(run / name, &written));
    ASSERT_TRUE(ReadWholeFile(PayloadFile(name), &expected));
    EXPECT_TRUE(written == expected);
  }
  EXPECT_EQ(LinkTarget(DesktopShortcut()), run / "Quillmere.exe");

  // The installed application runs and shows its window.
  ChildProcess application(run / "Quillmere.exe", "");
  ASSERT_TRUE(application.Started());
  HWND window = WaitForWindowOf(application.Id(), "QuillmereStandInWindow");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), "Quillmere");
  PostMessageA(window, WM_CLOSE, 0, 0);
  std::string ignored;
  EXPECT_EQ(application.Finish(&ignored), 0u);
}

TEST_F(Installer, FolderWithAllThreeFilesKeepsThemAndGetsTheShortcut) {
  for (const char* name : kTargetNames)
    ASSERT_TRUE(WriteWholeFile(run / name, std::string("planted ") + name));
  InstallerRun installer(run.Path());
  ASSERT_TRUE(installer.ClickButton());
  EXPECT_EQ(installer.ExitCode(), 0u);

  for (const char* name : kTargetNames) {
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(run / name, &contents));
    EXPECT_EQ(contents, std::string("planted ") + name);
  }
  EXPECT_EQ(LinkTarget(DesktopShortcut()), run / "Quillmere.exe");
}

struct CloseWay {
  const char* name;
  void (*close)(HWND window);
};

const CloseWay kCloseWays[] = {
    {"WmClose", [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }},
    {"SystemMenuClose", [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"Esc", [](HWND) { PressKeys({VK_ESCAPE}); }},
    {"AltF4",
     [](HWND) {
       PressKeys({VK_MENU, VK_F4});
     }},
};

void PrintTo(const CloseWay& way, std::ostream* out) { *out << way.name; }

class InstallerClosed : public Installer, public testing::WithParamInterface<CloseWay> {};

TEST_P(InstallerClosed, BeforeAnyClickEndsWithZeroAndWritesNothing) {
  InstallerRun installer(run.Path());
  ASSERT_NE(installer.Window(), nullptr);
  ASSERT_TRUE(BringToFront(installer.Window()));
  GetParam().close(installer.Window());
  EXPECT_EQ(installer.ExitCode(), 0u);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Quillmere-setup.exe"});
  EXPECT_FALSE(PathExists(DesktopShortcut()));
}

INSTANTIATE_TEST_SUITE_P(Ways, InstallerClosed, testing::ValuesIn(kCloseWays),
                         [](const testing::TestParamInfo<CloseWay>& info) { return info.param.name; });

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

TEST_F(Installer, KeysThatMustNotCloseOrStartAnything) {
  InstallerRun installer(run.Path());
  HWND window = installer.Window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(BringToFront(window));

  const struct {
    const char* name;
    std::initializer_list<WORD> keys;
  } presses[] = {
      {"Ctrl+Esc", {VK_CONTROL, VK_ESCAPE}},
      {"Shift+Esc", {VK_SHIFT, VK_ESCAPE}},
      {"Alt+Esc", {VK_MENU, VK_ESCAPE}},
      {"Enter", {VK_RETURN}},
      {"F1", {VK_F1}},
  };
  for (const auto& press : presses) {
    BringToFront(window);
    PressKeys(press.keys);
    ASSERT_TRUE(installer.Responsive()) << press.name;
    Sleep(200);
    EXPECT_TRUE(IsWindow(window)) << press.name;
    EXPECT_FALSE(installer.Process().Ended()) << press.name;
  }

  // Tab and Shift+Tab both land on the button, and Enter there starts
  // nothing either.
  for (WORD shift : {WORD(0), WORD(VK_SHIFT)}) {
    BringToFront(window);
    SetFocus(nullptr);
    if (shift != 0) {
      PressKeys({VK_SHIFT, VK_TAB});
    } else {
      PressKeys({VK_TAB});
    }
    ASSERT_TRUE(installer.Responsive());
    EXPECT_EQ(FocusOf(window), installer.Button()) << (shift ? "Shift+Tab" : "Tab");
  }
  PressKeys({VK_RETURN});
  ASSERT_TRUE(installer.Responsive());
  Sleep(200);
  EXPECT_EQ(Entries(), std::vector<std::string>{"Quillmere-setup.exe"});
  EXPECT_EQ(SendMessageA(installer.ProgressBar(), PBM_GETPOS, 0, 0), 0);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.ExitCode(), 0u);
  EXPECT_FALSE(PathExists(DesktopShortcut()));
}

TEST_F(Installer, CanBeMinimisedAndRestoredButNotMaximised) {
  InstallerRun installer(run.Path());
  HWND window = installer.Window();
  ASSERT_NE(window, nullptr);
  RECT before, after;
  GetWindowRect(window, &before);

  // A double click on the title bar is how a user maximises a window
  // without a maximise box.
  RECT caption;
  GetWindowRect(window, &caption);
  const POINT on_caption = {caption.left + 100, caption.top + GetSystemMetrics(SM_CYCAPTION) / 2};
  SendMessageA(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(on_caption.x, on_caption.y));
  EXPECT_FALSE(IsZoomed(window));
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window));
  SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(window));
  GetWindowRect(window, &after);
  EXPECT_TRUE(EqualRect(&before, &after));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.ExitCode(), 0u);
}

TEST_F(Installer, TwoCopiesInOneFolderOpenTwoIndependentWindows) {
  InstallerRun first(run.Path());
  ASSERT_NE(first.Window(), nullptr);
  ChildProcess second(first.Program(), "");
  ASSERT_TRUE(second.Started());
  HWND second_window = WaitForWindowOf(second.Id(), "QuillmereStartWindow");
  ASSERT_NE(second_window, nullptr);
  EXPECT_NE(second_window, first.Window());

  PostMessageA(first.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(first.ExitCode(), 0u);
  EXPECT_TRUE(IsWindow(second_window));
  EXPECT_FALSE(second.Ended(200));
  PostMessageA(second_window, WM_CLOSE, 0, 0);
  std::string ignored;
  EXPECT_EQ(second.Finish(&ignored), 0u);
}

// A real full disk: the installer sits on a small tmpfs with too little room
// left for the application's executable.
TEST_F(Installer, FullDiskLeavesNoPartialFileAndASecondClickFinishes) {
  const std::string disk = WindowsPathOf(QUILLMERE_FULL_DISK);
  if (!PathExists(disk + "\\.mounted"))
    GTEST_SKIP() << "no small tmpfs could be mounted at " << QUILLMERE_FULL_DISK;
  ScratchFolder folder(disk, "");
  InstallerRun installer(folder.Path());
  ASSERT_NE(installer.Window(), nullptr);

  ULARGE_INTEGER free_bytes;
  ASSERT_TRUE(GetDiskFreeSpaceExA((disk + "\\").c_str(), &free_bytes, nullptr, nullptr));
  const size_t keep_free = 600 * 1024;  // room for the databases, not for the executable
  ASSERT_GT(free_bytes.QuadPart, keep_free);
  const std::string filler = folder / "filler";
  ASSERT_TRUE(WriteWholeFile(filler, std::string(free_bytes.QuadPart - keep_free, 'f')));

  ASSERT_TRUE(installer.ClickButton());
  // The window answers nothing while the click runs, so the first answer
  // other than 0 comes once the extraction has returned.
  DWORD_PTR position = 0;
  for (int i = 0; i < 200 && position == 0; ++i) {
    Sleep(50);
    SendMessageTimeoutA(installer.ProgressBar(), PBM_GETPOS, 0, 0, SMTO_BLOCK, 20000, &position);
  }
  EXPECT_EQ(position, 33u);
  EXPECT_FALSE(installer.Process().Ended());
  EXPECT_FALSE(PathExists(folder / "Quillmere.exe")) << "a partial executable was left behind";
  EXPECT_FALSE(PathExists(DesktopShortcut()));

  ASSERT_TRUE(DeleteFileA(filler.c_str()));
  ASSERT_TRUE(installer.ClickButton());
  EXPECT_EQ(installer.ExitCode(), 0u);
  for (const char* name : kTargetNames) {
    std::string written, expected;
    ASSERT_TRUE(ReadWholeFile(folder / name, &written));
    ASSERT_TRUE(ReadWholeFile(PayloadFile(name), &expected));
    EXPECT_TRUE(written == expected) << name;
  }
  EXPECT_EQ(LinkTarget(DesktopShortcut()), folder / "Quillmere.exe");
}

}  // namespace
