#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "host/files.h"
#include "tests/support/blocks.h"
#include "tests/support/scratch.h"

namespace {

// Bytes that any text-mode or truncating write would change.
const std::string kAwkwardBytes("head\0\r\n\x1A\xFF\n tail", 14);

class FileExistsIn : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteWholeFile(folder / "plain.edb", "x"));
    ASSERT_TRUE(WriteWholeFile(folder / "hidden.edb", "x"));
    ASSERT_TRUE(
        SetFileAttributesA((folder / "hidden.edb").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(CreateDirectoryA((folder / "Quillmere.exe").c_str(), nullptr));
  }
  ScratchFolder folder;
};

TEST_F(FileExistsIn, SeesAnythingThatIsThere) {
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {folder / "plain.edb", true},
      {folder / "hidden.edb", true},
      {folder / "Quillmere.exe", true},  // a directory of that name
      {folder / "*.edb", true},
      {folder / "plai?.edb", true},
      {folder / "*.zip", false},
      {folder / "missing.edb", false},
      {folder / "missing\\plain.edb", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(Text(c.path.c_str())), c.exists) << c.path;
}

class WriteBytes : public testing::Test {
 protected:
  static std::string Contents(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, &contents)) << path;
    return contents;
  }
  ScratchFolder folder;
};

TEST_F(WriteBytes, NewFileHoldsExactlyTheBlocksInOrder) {
  const OwnedBytes first(kAwkwardBytes), empty(""), second("\r\n\x1A");
  const Bytes* const blocks[] = {&first.Get(), &empty.Get(), &second.Get()};
  EXPECT_TRUE(WriteBytesToFile(Text((folder / "定期存款.edb").c_str()), blocks));
  EXPECT_EQ(Contents(folder / "定期存款.edb"), kAwkwardBytes + "\r\n\x1A");
}

TEST_F(WriteBytes, TruncatesAnExistingFile) {
  ASSERT_TRUE(WriteWholeFile(folder / "old.edb", std::string(5000, 'o')));
  EXPECT_TRUE(WriteBytesToFile(Text((folder / "old.edb").c_str()), OwnedBytes(kAwkwardBytes).Get()));
  EXPECT_EQ(Contents(folder / "old.edb"), kAwkwardBytes);
}

TEST_F(WriteBytes, NoBlockOrOnlyEmptyBlocksLeaveAnEmptyFile) {
  EXPECT_TRUE(WriteBytesToFile(Text((folder / "none.edb").c_str()), std::span<const Bytes* const>()));
  EXPECT_EQ(Contents(folder / "none.edb"), "");

  const OwnedBytes empty("");
  const Bytes* const blocks[] = {&empty.Get(), &empty.Get()};
  EXPECT_TRUE(WriteBytesToFile(Text((folder / "empty.edb").c_str()), blocks));
  EXPECT_EQ(Contents(folder / "empty.edb"), "");
}

TEST_F(WriteBytes, EmptyPathGivesFalseAndCreatesNothing) {
  // Whatever an empty path would resolve to, it would land in the current
  // directory.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.Path().c_str());
  EXPECT_FALSE(WriteBytesToFile(Text(), OwnedBytes("x").Get()));
  SetCurrentDirectoryA(previous);
  EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

TEST_F(WriteBytes, MissingFolderGivesFalse) {
  EXPECT_FALSE(WriteBytesToFile(Text((folder / "missing\\a.edb").c_str()), OwnedBytes("x").Get()));
  EXPECT_FALSE(PathExists(folder / "missing"));
}

TEST_F(WriteBytes, FileHeldOpenElsewhereGivesFalseAndStaysAsItWas) {
  const std::string path = folder / "held.edb";
  ASSERT_TRUE(WriteWholeFile(path, "kept"));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteBytesToFile(Text(path.c_str()), OwnedBytes(kAwkwardBytes).Get()));
  CloseHandle(held);
  EXPECT_EQ(Contents(path), "kept");
}

// A real full disk: a small tmpfs mounted for the test run.
TEST(WriteBytesOnFullDisk, GivesFalseAndLeavesNoFileBehind) {
  const std::string disk = WindowsPathOf(QUILLMERE_FULL_DISK);
  if (!PathExists(disk + "\\.mounted"))
    GTEST_SKIP() << "no small tmpfs could be mounted at " << QUILLMERE_FULL_DISK;
  const std::string path = disk + "\\Quillmere.exe";
  ULARGE_INTEGER free_bytes;
  ASSERT_TRUE(GetDiskFreeSpaceExA((disk + "\\").c_str(), &free_bytes, nullptr, nullptr));
  const OwnedBytes too_large(std::string(free_bytes.QuadPart + 64 * 1024, 'q'));

  EXPECT_FALSE(WriteBytesToFile(Text(path.c_str()), too_large.Get()));
  EXPECT_FALSE(FileExists(Text(path.c_str())));

  // The room the failed write took was given back.
  EXPECT_TRUE(WriteBytesToFile(Text(path.c_str()), OwnedBytes(kAwkwardBytes).Get()));
  DeleteFileA(path.c_str());
}

}  // namespace
