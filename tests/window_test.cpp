#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "installer/start_window.h"
#include "tests/support/child.h"
#include "tests/support/scratch.h"

namespace {

HWND BarOf(HWND window) { return FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr); }

TEST(SetProgressPosition, ClampsToTheBarsRange) {
  LoadStartWindow();
  HWND window = FindWindowA("QuillmereStartWindow", nullptr);
  ASSERT_NE(window, nullptr);
  HWND bar = BarOf(window);
  ASSERT_NE(bar, nullptr);

  const struct {
    int32_t asked, shown;
  } cases[] = {{33, 33}, {66, 66}, {100, 100}, {150, 100}, {-5, 0}, {40000, 100}, {INT32_MIN, 0}, {0, 0}};
  for (const auto& c : cases) {
    SetProgressPosition(c.asked);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), c.shown) << c.asked;
  }
  DestroyWindow(window);
  EXPECT_FALSE(StartWindowLoaded());
}

TEST(LoadStartWindow, GivesTheWindowTheProgramIconLargeAndSmall) {
  LoadStartWindow();
  HWND window = FindWindowA("QuillmereStartWindow", nullptr);
  ASSERT_NE(window, nullptr);
  for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
    const auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
    ASSERT_NE(icon, nullptr) << which;
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour;
    GetObjectA(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, 120);
    EXPECT_EQ(colour.bmHeight, 128);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  DestroyWindow(window);
}

std::string HarnessPath() { return ProgramFolder() + "\\window_harness.exe"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

TEST(SetProgressPosition, BeforeTheWindowExistsStopsWithTheErrorBox) {
  ChildProcess harness(HarnessPath(), "");
  ASSERT_TRUE(harness.Started());
  HWND box = WaitForWindowOf(harness.Id(), "#32770");
  ASSERT_NE(box, nullptr);

  char caption[64] = "";
  GetWindowTextA(box, caption, sizeof(caption));
  EXPECT_STREQ(caption, "错误");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  std::string text;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char buffer[2048] = "";
    GetWindowTextA(child, buffer, sizeof(buffer));
    if (std::string(buffer).size() > text.size()) text = buffer;
  }
  const std::vector<std::string> lines = Lines(text);
  ASSERT_GE(lines.size(), 4u) << text;
  EXPECT_EQ(lines[0], "运行时出错!");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "错误信息：修改组件属性时发现指定窗口尚未载入");

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  std::string ignored;
  EXPECT_EQ(harness.Finish(&ignored), 0xFFFFFFFFu);
}

// A fatal stop while the start window is up, as inside the click: the box
// must keep the window from taking a click or a key, or the extraction
// could run a second time under it.
TEST(FatalStop, WhileTheStartWindowIsUpTheWindowTakesNoInput) {
  ChildProcess harness(HarnessPath(), "with-window");
  ASSERT_TRUE(harness.Started());
  HWND box = WaitForWindowOf(harness.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  HWND window = WaitForWindowOf(harness.Id(), "QuillmereStartWindow");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowEnabled(window));

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  std::string ignored;
  EXPECT_EQ(harness.Finish(&ignored), 0xFFFFFFFFu);
}

}  // namespace
