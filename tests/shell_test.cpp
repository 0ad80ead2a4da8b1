#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <thread>

#include "host/handles.h"
#include "host/shell.h"
#include "tests/support/scratch.h"

namespace {

TEST(DesktopDirectory, IsTheUsersOwnDesktopFolderWithABackslash) {
  const Text desktop = DesktopDirectory();
  char expected[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_DESKTOPDIRECTORY, FALSE));
  EXPECT_EQ(std::string(desktop.CStr()), std::string(expected) + "\\");
  const DWORD attributes = GetFileAttributesA(desktop.CStr());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// Reads a saved link back through the shell's own interfaces.
struct SavedLink {
  bool loaded = false;
  std::string path, description, arguments, working_directory;
};

SavedLink ReadLink(const std::string& file) {
  SavedLink saved;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.PutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.PutVoid()))) {
    return saved;
  }
  wchar_t wide[MAX_PATH * 2];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH * 2);
  if (FAILED(persist->Load(wide, STGM_READ))) return saved;
  saved.loaded = true;
  char text[MAX_PATH * 2] = "";
  link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
  saved.path = text;
  text[0] = '\0';
  link->GetDescription(text, sizeof(text));
  saved.description = text;
  text[0] = '\0';
  link->GetArguments(text, sizeof(text));
  saved.arguments = text;
  text[0] = '\0';
  link->GetWorkingDirectory(text, sizeof(text));
  saved.working_directory = text;
  return saved;
}

class Shortcut : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OleInitialize(nullptr), S_OK); }
  void TearDown() override { OleUninitialize(); }
  ScratchFolder folder{"-快捷"};
};

TEST_F(Shortcut, SavesTheTargetWithShowCommandFiveAndNothingElse) {
  const std::string target = folder / "Quillmere.exe";
  ASSERT_TRUE(WriteWholeFile(target, "MZ"));
  // Two backslashes at the seam, as the extraction builds it.
  EXPECT_TRUE(CreateShortcut(Text((folder.Path() + "\\\\Quillmere").c_str()), Text(target.c_str())));

  const SavedLink saved = ReadLink(folder / "Quillmere.lnk");
  ASSERT_TRUE(saved.loaded);
  EXPECT_EQ(saved.path, target);
  // Wine's link object reads any show command but 3 and 7 back as 1, so the
  // field is read from the file itself: a 32-bit value at offset 0x3C.
  std::string file;
  ASSERT_TRUE(ReadWholeFile(folder / "Quillmere.lnk", &file));
  ASSERT_GE(file.size(), 0x40u);
  EXPECT_EQ(file.substr(0x3C, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(saved.description, "");
  EXPECT_EQ(saved.arguments, "");
  EXPECT_EQ(saved.working_directory, "");
}

TEST_F(Shortcut, FileNameFollowsTheLnkRule) {
  ASSERT_TRUE(CreateDirectoryA((folder / "My.Links").c_str(), nullptr));
  const std::string target = folder / "Quillmere.exe";
  ASSERT_TRUE(WriteWholeFile(target, "MZ"));
  const struct {
    std::string link_path, saved_as;
  } cases[] = {
      {folder / "My.Links\\Quillmere", folder / "My.Links\\Quillmere.lnk"},
      {folder / "Quillmere.lnk", folder / "Quillmere.lnk"},
      {folder / "Quillmere.v1", folder / "Quillmere.v1"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(CreateShortcut(Text(c.link_path.c_str()), Text(target.c_str()))) << c.link_path;
    EXPECT_TRUE(ReadLink(c.saved_as).loaded) << c.saved_as;
  }
  EXPECT_FALSE(PathExists(folder / "Quillmere.lnk.lnk"));
  EXPECT_FALSE(PathExists(folder / "Quillmere.v1.lnk"));
}

TEST_F(Shortcut, LinkPathPastMaxPathIsNotCutShort) {
  const std::string deep = folder / std::string(200, 'd');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  const std::string link = deep + "\\" + std::string(60, 'q');
  ASSERT_GT(link.size(), 255u);
  const std::string target = folder / "Quillmere.exe";
  ASSERT_TRUE(WriteWholeFile(target, "MZ"));
  EXPECT_TRUE(CreateShortcut(Text(link.c_str()), Text(target.c_str())));
  EXPECT_TRUE(PathExists(link + ".lnk"));
}

TEST_F(Shortcut, MissingFolderGivesFalseAndWritesNothing) {
  EXPECT_FALSE(
      CreateShortcut(Text((folder / "missing\\Quillmere").c_str()), Text((folder / "a.exe").c_str())));
  EXPECT_FALSE(PathExists(folder / "missing"));
}

TEST(ShortcutWithoutOle, GivesFalseAndWritesNothing) {
  ScratchFolder folder;
  std::thread([&] {
    EXPECT_FALSE(CreateShortcut(Text((folder / "Quillmere").c_str()), Text((folder / "a.exe").c_str())));
  }).join();
  EXPECT_FALSE(PathExists(folder / "Quillmere.lnk"));
}

}  // namespace
