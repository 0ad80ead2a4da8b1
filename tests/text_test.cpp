#include <gtest/gtest.h>

#include <string>

#include "host/process.h"
#include "host/shell.h"
#include "host/text.h"

namespace {

std::string Str(const Text& text) { return std::string(text.CStr(), text.Length()); }

TEST(Text, LiteralsAreHeldAsCodePage936Bytes) {
  // Fails as soon as the build loses -fexec-charset=CP936.
  EXPECT_EQ(std::string("解压"), std::string("\xBD\xE2\xD1\xB9"));
}

TEST(Text, AbsentAndEmptyAreTheSame) {
  const Text absent;
  const Text empty("");
  EXPECT_TRUE(absent.Empty());
  EXPECT_STREQ(absent.CStr(), "");
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Length(), 0);
}

TEST(Text, JoinConcatenatesBytesWithoutTouchingSeparators) {
  EXPECT_EQ(Str(Join(Text("D:\\Setup"), "\\Quillmere.exe")), "D:\\Setup\\Quillmere.exe");
  EXPECT_EQ(Str(Join(Text("C:"), "\\Quillmere.exe")), "C:\\Quillmere.exe");
  EXPECT_EQ(Str(Join(Text("C:\\Desktop\\"), "\\Quillmere")), "C:\\Desktop\\\\Quillmere");
  EXPECT_EQ(Str(Join(Text(), "\\Quillmere")), "\\Quillmere");
  EXPECT_EQ(Str(Join(Text("D:\\安装"), "\\定期存款.edb")), "D:\\安装\\定期存款.edb");
}

TEST(Text, MovingLeavesTheSourceEmpty) {
  Text first("D:\\Setup");
  Text second(std::move(first));
  EXPECT_TRUE(first.Empty());
  EXPECT_EQ(Str(second), "D:\\Setup");
  first = std::move(second);
  EXPECT_EQ(Str(first), "D:\\Setup");
}

struct DirectoryCase {
  const char* executable_path;
  const char* run_directory;
};

class RunDirectoryOfPath : public testing::TestWithParam<DirectoryCase> {};

TEST_P(RunDirectoryOfPath, SplitsAtTheLastRealBackslash) {
  const DirectoryCase& c = GetParam();
  EXPECT_EQ(
      std::string(c.executable_path, RunDirectoryLength(c.executable_path, lstrlenA(c.executable_path))),
      c.run_directory);
}

INSTANTIATE_TEST_SUITE_P(Cases, RunDirectoryOfPath,
                         testing::Values(DirectoryCase{"D:\\Setup\\setup.exe", "D:\\Setup"},
                                         DirectoryCase{"C:\\setup.exe", "C:"}, DirectoryCase{"setup.exe", ""},
                                         // 乗 is 0x81 0x5C: its second byte is no separator.
                                         DirectoryCase{"D:\\乗\\setup.exe", "D:\\乗"},
                                         DirectoryCase{"D:\\安装\\乗.exe", "D:\\安装"},
                                         DirectoryCase{"D:\\乗乗\\表乗.exe", "D:\\乗乗"},
                                         DirectoryCase{"\\\\server\\share\\setup.exe", "\\\\server\\share"}));

struct BackslashCase {
  const char* directory;
  const char* result;
};

class DesktopBackslash : public testing::TestWithParam<BackslashCase> {};

TEST_P(DesktopBackslash, AppendsOneUnlessTheLastByteIsOne) {
  const BackslashCase& c = GetParam();
  EXPECT_EQ(Str(WithTrailingBackslash(c.directory, lstrlenA(c.directory))), c.result);
}

INSTANTIATE_TEST_SUITE_P(Cases, DesktopBackslash,
                         testing::Values(BackslashCase{"C:\\Users\\me\\Desktop", "C:\\Users\\me\\Desktop\\"},
                                         BackslashCase{"D:\\", "D:\\"}, BackslashCase{"", ""},
                                         BackslashCase{"C:\\桌面", "C:\\桌面\\"},
                                         // Only the last byte counts, even as a trail byte.
                                         BackslashCase{"C:\\乗", "C:\\乗"}));

struct LinkCase {
  const char* link_path;
  const char* file_path;
};

class LinkFileName : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkFileName, GetsLnkOnlyWithoutADotInTheName) {
  const LinkCase& c = GetParam();
  EXPECT_EQ(Str(LinkFilePath(Text(c.link_path))), c.file_path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkFileName,
    testing::Values(LinkCase{"C:\\Desktop\\\\Quillmere", "C:\\Desktop\\\\Quillmere.lnk"},
                    LinkCase{"C:\\My.Desktop\\Quillmere", "C:\\My.Desktop\\Quillmere.lnk"},
                    LinkCase{"C:\\Desktop\\Quillmere.lnk", "C:\\Desktop\\Quillmere.lnk"},
                    LinkCase{"C:\\Desktop\\Quillmere.v1", "C:\\Desktop\\Quillmere.v1"},
                    LinkCase{"Quillmere", "Quillmere.lnk"}, LinkCase{"Quill.mere", "Quill.mere"},
                    LinkCase{"C:\\桌面\\乗", "C:\\桌面\\乗.lnk"}));

}  // namespace
