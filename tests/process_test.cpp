#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <thread>
#include <vector>

#include "host/process.h"
#include "tests/support/child.h"
#include "tests/support/scratch.h"

namespace {

std::string Str(const Text& text) { return std::string(text.CStr(), text.Length()); }

std::vector<char>* g_calls = nullptr;
void RoutineA() { g_calls->push_back('A'); }
void RoutineB() { g_calls->push_back('B'); }
void RoutineC() { g_calls->push_back('C'); }

TEST(EndRoutines, RunOnceEachInRegistrationOrder) {
  std::vector<char> calls;
  g_calls = &calls;
  RegisterEndRoutine(RoutineB);
  RegisterEndRoutine(RoutineA);
  RegisterEndRoutine(RoutineB);
  RegisterEndRoutine(RoutineC);

  CleanUpForExit();
  EXPECT_EQ(calls, (std::vector<char>{'B', 'A', 'C'}));

  CleanUpForExit();
  EXPECT_EQ(calls.size(), 3u) << "a second clean-up calls nothing again";
}

// The apartment's own count shows how often OLE was undone: CoInitializeEx
// gives S_FALSE while the thread is still initialised, S_OK once it is not.
HRESULT ApartmentProbe() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result)) CoUninitialize();
  return result;
}

TEST(EndRoutines, CleanUpUndoesOleExactlyOnce) {
  std::thread([] {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);  // the test's own hold
    InitializeOle();
    InitializeOle();  // the flag keeps it to one call
    CleanUpForExit();
    CleanUpForExit();
    EXPECT_EQ(ApartmentProbe(), S_FALSE) << "OLE was undone more than once";
    OleUninitialize();
    EXPECT_EQ(ApartmentProbe(), S_OK) << "OLE was not undone";
  }).join();
}

TEST(RunDirectory, SameTextOnEveryCallWhateverTheCurrentDirectory) {
  RecordRunDirectory();
  const std::string recorded = Str(RunDirectory());
  EXPECT_EQ(recorded, ProgramFolder());

  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current), recorded) << "the run directory becomes the current directory";

  ScratchFolder elsewhere;
  ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.Path().c_str()));
  EXPECT_EQ(Str(RunDirectory()), recorded);
  EXPECT_EQ(Str(RunDirectory()), recorded);
  SetCurrentDirectoryA(current);
}

// The probe, copied to where a case needs it, reports its run directory and
// the executable's target path from there. (Past MAX_PATH Wine starts no
// program from a Windows parent; tests/long-path-run-directory covers that.)
std::string RunDirectoryReportedFrom(const std::string& program) {
  EXPECT_TRUE(CopyFileTo(ProbePath(), program)) << program;
  std::string output;
  EXPECT_EQ(RunProbe(program, "run-directory", &output), 0u);
  DeleteFileA(program.c_str());
  return output;
}

TEST(RunDirectoryOfProbe, DoubleByteCharacterEndingIn5CStaysWhole) {
  ScratchFolder scratch("-安装乗");
  // 乗 is 0x81 0x5C: split at that byte, the folder would lose its last
  // character and the file name would become "\x5C.exe".
  const std::string program = scratch / "乗.exe";
  EXPECT_EQ(RunDirectoryReportedFrom(program), scratch.Path() + "\n" + scratch.Path() + "\\Quillmere.exe\n");
}

TEST(RunDirectoryOfProbe, DriveRootGivesTheDriveAlone) {
  const std::string program = "C:\\qm-probe-" + std::to_string(GetCurrentProcessId()) + ".exe";
  EXPECT_EQ(RunDirectoryReportedFrom(program), "C:\nC:\\Quillmere.exe\n");
}

TEST(EndProgram, RunsTheEndRoutinesOnceAndEndsWithTheExitCode) {
  const struct {
    const char* argument;
    DWORD exit_code;
  } cases[] = {{"0", 0}, {"-1", 0xFFFFFFFF}, {"7", 7}};
  for (const auto& c : cases) {
    std::string output;
    EXPECT_EQ(RunProbe(ProbePath(), std::string("end ") + c.argument, &output), c.exit_code) << c.argument;
    EXPECT_EQ(output, "A\nB\n") << c.argument;
  }
}

std::string LongestStaticText(HWND box) {
  std::string longest;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char class_name[32] = "";
    GetClassNameA(child, class_name, sizeof(class_name));
    char text[2048] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (lstrcmpiA(class_name, "Static") == 0 && std::string(text).size() > longest.size()) longest = text;
  }
  return longest;
}

TEST(FatalStop, OutOfMemoryShowsTheErrorBoxThenEndsWithMinusOne) {
  ChildProcess probe(ProbePath(), "out-of-memory");
  ASSERT_TRUE(probe.Started());
  HWND box = WaitForWindowOf(probe.Id(), "#32770");
  ASSERT_NE(box, nullptr) << "no message box appeared";

  char caption[64] = "";
  GetWindowTextA(box, caption, sizeof(caption));
  EXPECT_STREQ(caption, "错误");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  const std::string text = LongestStaticText(box);
  EXPECT_EQ(text.rfind("运行时出错!\r\n\r\n错误信息：分配 2147483632 字节内存失败!\r\n", 0), 0u) << text;

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  std::string output;
  EXPECT_EQ(probe.Finish(&output), 0xFFFFFFFFu);
  EXPECT_EQ(output, "") << "neither the end routines nor the code after the stop ran";
}

}  // namespace
