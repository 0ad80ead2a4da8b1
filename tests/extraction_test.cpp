#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/shell.h"
#include "installer/extraction.h"
#include "installer/payload.h"
#include "tests/support/scratch.h"

namespace {

std::string Str(const Text& text) { return std::string(text.CStr(), text.Length()); }

// Everything the extraction does, in order, as short tokens: P33 for a
// reported position, ?exe for an existence test, +exe for a write, link
// for a shortcut, end0 for the end of the program.
std::vector<std::string>* g_log = nullptr;

void RecordProgress(int32_t position) { g_log->push_back("P" + std::to_string(position)); }

const std::map<std::string, std::string> kShortNames = {
    {"D:\\Setup\\Quillmere.exe", "exe"},
    {"D:\\Setup\\定期存款.edb", "db1"},
    {"D:\\Setup\\到期存款.edb", "db2"},
};

std::string ShortName(const Text& path) {
  const auto found = kShortNames.find(Str(path));
  return found != kShortNames.end() ? found->second : "?" + Str(path);
}

// Stands in for the file system of D:\Setup; decides each write's outcome.
class FakeHost final : public ExtractionHost {
 public:
  explicit FakeHost(std::vector<std::string>* log) : log_(log) {}

  std::set<std::string> present;
  std::function<bool(const std::string& name, int attempt)> write_succeeds = [](const std::string&, int) {
    return true;
  };
  std::string desktop = "C:\\Users\\me\\Desktop\\";
  mutable std::vector<const Bytes*> written_blocks;
  mutable int run_directory_calls = 0;
  mutable std::string link_path, target_path;

  Text RunDirectory() const override {
    ++run_directory_calls;
    return Text("D:\\Setup");
  }
  bool FileExists(const Text& path) const override {
    log_->push_back("?" + ShortName(path));
    return present.count(ShortName(path)) > 0;
  }
  bool WriteBytesToFile(const Text& path, const Bytes& contents) const override {
    const std::string name = ShortName(path);
    log_->push_back("+" + name);
    written_blocks.push_back(&contents);
    const bool succeeds = write_succeeds(name, ++attempts_[name]);
    if (succeeds) const_cast<FakeHost*>(this)->present.insert(name);
    return succeeds;
  }
  Text DesktopDirectory() const override { return Text(desktop.c_str()); }
  bool CreateShortcut(const Text& link, const Text& target) const override {
    log_->push_back("link");
    link_path = Str(link);
    target_path = Str(target);
    return false;  // its outcome must not matter
  }
  void EndProgram(int32_t exit_code) const override { log_->push_back("end" + std::to_string(exit_code)); }

 private:
  std::vector<std::string>* log_;
  mutable std::map<std::string, int> attempts_;
};

struct ExtractionCase {
  const char* name;
  std::set<std::string> present;
  std::function<bool(const std::string&, int)> write_succeeds;
  std::string desktop;
  std::vector<std::string> expected_log;
  std::set<std::string> present_after;
};

const auto kAlways = [](const std::string&, int) { return true; };
const auto kNever = [](const std::string&, int) { return false; };
const std::string kDesktop = "C:\\Users\\me\\Desktop\\";

const ExtractionCase kCases[] = {
    {"EmptyFolderEveryWriteSucceeds",
     {},
     kAlways,
     kDesktop,
     {"P33", "?exe", "+exe", "P33",  "P66",  "?exe", "P33",  "?db1", "+db1", "P100", "?exe",
      "P33", "?db1", "?db2", "+db2", "?exe", "P33",  "?db1", "?db2", "link", "end0"},
     {"exe", "db1", "db2"}},
    {"AllThreePresent",
     {"exe", "db1", "db2"},
     kAlways,
     kDesktop,
     {"P33", "?exe", "P33", "?db1", "?db2", "link", "end0"},
     {"exe", "db1", "db2"}},
    {"OnlyTheExecutablePresent",
     {"exe"},
     kAlways,
     kDesktop,
     {"P33", "?exe", "P33", "?db1", "+db1", "P66", "?exe", "P33", "?db1", "?db2", "+db2", "P100", "?exe",
      "P33", "?db1", "?db2", "link", "end0"},
     {"exe", "db1", "db2"}},
    {"OnlyTheExecutableMissing",
     {"db1", "db2"},
     kAlways,
     kDesktop,
     {"P33", "?exe", "+exe", "P33", "P66", "?exe", "P33", "?db1", "?db2", "link", "end0"},
     {"exe", "db1", "db2"}},
    {"EmptyFolderEveryWriteFails",
     {},
     kNever,
     kDesktop,
     {"P33", "?exe", "+exe", "P33", "P66", "?exe", "+exe", "P33", "P100", "?exe", "+exe", "P33", "?exe",
      "+exe", "P33"},
     {}},
    {"FirstExecutableWriteFailsLaterOnesSucceed",
     {},
     [](const std::string& name, int attempt) { return name != "exe" || attempt > 1; },
     kDesktop,
     {"P33", "?exe", "+exe", "P33", "P66", "?exe", "+exe", "P33", "P100", "?exe", "P33", "?db1", "+db1",
      "?exe", "P33", "?db1", "?db2", "+db2"},
     {"exe", "db1", "db2"}},
    // A target that keeps failing holds up the ones after it.
    {"FailingDatabaseHoldsUpTheNext",
     {"exe"},
     [](const std::string& name, int) { return name != "db1"; },
     kDesktop,
     {"P33", "?exe", "P33", "?db1", "+db1", "P66", "?exe", "P33", "?db1", "+db1", "P100", "?exe", "P33",
      "?db1", "+db1", "?exe", "P33", "?db1", "+db1"},
     {"exe"}},
    // Without a desktop no shortcut is made, and the program still ends well.
    {"NoDesktopDirectory",
     {"exe", "db1", "db2"},
     kAlways,
     "",
     {"P33", "?exe", "P33", "?db1", "?db2", "end0"},
     {"exe", "db1", "db2"}},
};

void PrintTo(const ExtractionCase& c, std::ostream* out) { *out << c.name; }

class Extraction : public testing::TestWithParam<ExtractionCase> {};

TEST_P(Extraction, TestsWritesAndReportsInOrder) {
  const ExtractionCase& c = GetParam();
  std::vector<std::string> log;
  g_log = &log;
  FakeHost host(&log);
  host.present = c.present;
  host.write_succeeds = c.write_succeeds;
  host.desktop = c.desktop;

  RunExtraction(RecordProgress, host);

  EXPECT_EQ(log, c.expected_log);
  EXPECT_EQ(host.present, c.present_after);
  // The run directory is fetched anew for every test, write and target path.
  int path_uses = 0;
  for (const std::string& entry : log) path_uses += entry[0] == '?' || entry[0] == '+' || entry == "link";
  EXPECT_EQ(host.run_directory_calls, path_uses);
  // Whatever happened, the last position reported is 33.
  const auto last_position =
      std::find_if(log.rbegin(), log.rend(), [](const std::string& e) { return e[0] == 'P'; });
  ASSERT_NE(last_position, log.rend());
  EXPECT_EQ(*last_position, "P33");
}

INSTANTIATE_TEST_SUITE_P(Cases, Extraction, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ExtractionCase>& info) { return info.param.name; });

TEST(Extraction, ShortcutGoesFromTheDesktopToTheRunFoldersExecutable) {
  std::vector<std::string> log;
  g_log = &log;
  FakeHost host(&log);
  host.present = {"exe", "db1", "db2"};
  RunExtraction(RecordProgress, host);
  // The desktop's own backslash and the link name's make two in a row.
  EXPECT_EQ(host.link_path, "C:\\Users\\me\\Desktop\\\\Quillmere");
  EXPECT_EQ(host.target_path, "D:\\Setup\\Quillmere.exe");
}

bool InLoadedImage(const void* address, size_t length) {
  const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto* begin = static_cast<const unsigned char*>(address);
  return begin >= base && begin + length <= base + nt->OptionalHeader.SizeOfImage;
}

TEST(Extraction, WritesEachFileFromWhereItLiesInTheImage) {
  std::vector<std::string> log;
  g_log = &log;
  FakeHost host(&log);
  RunExtraction(RecordProgress, host);

  ASSERT_EQ(host.written_blocks.size(), 3u);
  const char* files[] = {"Quillmere.exe", "定期存款.edb", "到期存款.edb"};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(files[i]);
    const Bytes* block = host.written_blocks[i];
    EXPECT_EQ(block, PayloadTable[i].contents);
    EXPECT_TRUE(InLoadedImage(block, sizeof(int32_t) + static_cast<size_t>(block->length)));
    std::string expected;
    ASSERT_TRUE(ReadWholeFile(WindowsPathOf(QUILLMERE_PAYLOAD_DIR) + "\\" + files[i], &expected));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block->Data()), static_cast<size_t>(block->length)),
              expected);
  }
}

// The real file and shell services in a scratch run folder, with a scratch
// desktop; only the end of the program is recorded instead of done.
class FolderHost final : public Win32ExtractionHost {
 public:
  FolderHost(const std::string& run_folder, const std::string& desktop)
      : run_folder_(run_folder), desktop_(desktop + "\\") {}
  mutable std::vector<int32_t> exit_codes;

  Text RunDirectory() const override { return Text(run_folder_.c_str()); }
  Text DesktopDirectory() const override { return Text(desktop_.c_str()); }
  void EndProgram(int32_t exit_code) const override { exit_codes.push_back(exit_code); }

 private:
  std::string run_folder_, desktop_;
};

void IgnoreProgress(int32_t) {}

TEST(ExtractionOnDisk, EmptyFolderGetsTheThreeFilesByteForByteAndTheShortcut) {
  ASSERT_EQ(OleInitialize(nullptr), S_OK);
  ScratchFolder run("-安装乗");
  ScratchFolder desktop;
  FolderHost host(run.Path(), desktop.Path());

  RunExtraction(IgnoreProgress, host);

  EXPECT_EQ(host.exit_codes, std::vector<int32_t>{0});
  for (const char* name : {"Quillmere.exe", "定期存款.edb", "到期存款.edb"}) {
    SCOPED_TRACE(name);
    std::string written, expected;
    ASSERT_TRUE(ReadWholeFile(run / name, &written));
    ASSERT_TRUE(ReadWholeFile(WindowsPathOf(QUILLMERE_PAYLOAD_DIR) + "\\" + name, &expected));
    EXPECT_TRUE(written == expected);
  }
  EXPECT_TRUE(PathExists(desktop / "Quillmere.lnk"));
  OleUninitialize();
}

TEST(ExtractionOnDisk, NeverWritesOverWhatIsThere) {
  ASSERT_EQ(OleInitialize(nullptr), S_OK);
  ScratchFolder run;
  ScratchFolder desktop;
  // An empty file and a folder that bear target names count as present.
  ASSERT_TRUE(WriteWholeFile(run / "Quillmere.exe", ""));
  ASSERT_TRUE(CreateDirectoryA((run / "定期存款.edb").c_str(), nullptr));
  FolderHost host(run.Path(), desktop.Path());

  RunExtraction(IgnoreProgress, host);

  EXPECT_EQ(host.exit_codes, std::vector<int32_t>{0});
  std::string contents;
  ASSERT_TRUE(ReadWholeFile(run / "Quillmere.exe", &contents));
  EXPECT_EQ(contents.size(), 0u);
  const DWORD attributes = GetFileAttributesA((run / "定期存款.edb").c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  std::string expected;
  ASSERT_TRUE(ReadWholeFile(run / "到期存款.edb", &contents));
  ASSERT_TRUE(ReadWholeFile(WindowsPathOf(QUILLMERE_PAYLOAD_DIR) + "\\到期存款.edb", &expected));
  EXPECT_TRUE(contents == expected);
  EXPECT_TRUE(PathExists(desktop / "Quillmere.lnk"));
  OleUninitialize();
}

}  // namespace
