// The built installer as a file: what kind of program it is and what its
// resources say.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/support/installer.h"
#include "tests/support/scratch.h"

namespace {

class BuiltInstaller : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReadWholeFile(::BuiltInstaller(), &image_));
    module_ = LoadLibraryExA(::BuiltInstaller().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::string Resource(const char* type, const char* name, WORD language) const {
    HRSRC found = FindResourceExA(module_, type, name, language);
    if (found == nullptr) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(data, SizeofResource(module_, found));
  }

  const IMAGE_NT_HEADERS32& Headers() const {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image_.data());
    return *reinterpret_cast<const IMAGE_NT_HEADERS32*>(image_.data() + dos->e_lfanew);
  }

  std::string image_;
  HMODULE module_ = nullptr;
};

TEST_F(BuiltInstaller, IsA32BitGuiProgramThatNeedsOnlySystemDlls) {
  EXPECT_EQ(Headers().Signature, IMAGE_NT_SIGNATURE);
  EXPECT_EQ(Headers().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(Headers().OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(Headers().OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

  // Loaded as an image, the import directory can be walked directly.
  HMODULE image = LoadLibraryExA(::BuiltInstaller().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(image, nullptr);
  const auto* base = reinterpret_cast<const unsigned char*>(image);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const std::set<std::string> system_dlls = {"kernel32.dll", "user32.dll",   "gdi32.dll",  "shell32.dll",
                                             "ole32.dll",    "comctl32.dll", "msvcrt.dll", "advapi32.dll"};
  int count = 0;
  for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       entry->Name != 0; ++entry, ++count) {
    std::string name = reinterpret_cast<const char*>(base + entry->Name);
    CharLowerA(name.data());
    EXPECT_TRUE(system_dlls.count(name)) << name << " is not one of the system's own DLLs";
  }
  EXPECT_GT(count, 0);
  FreeLibrary(image);
}

TEST_F(BuiltInstaller, IsHardened) {
  const IMAGE_OPTIONAL_HEADER32& optional = Headers().OptionalHeader;
  for (WORD flag : {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, IMAGE_DLLCHARACTERISTICS_NX_COMPAT,
                    IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE}) {
    EXPECT_EQ(optional.DllCharacteristics & flag, flag) << std::hex << flag;
  }
  // Without its relocations an image cannot move, whatever the flag says.
  EXPECT_EQ(Headers().FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0);
  EXPECT_GT(optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
  EXPECT_EQ(optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].Size, 0u) << "an export table";
  EXPECT_EQ(optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_DEBUG].Size, 0u) << "a debug directory";

  const auto* section = IMAGE_FIRST_SECTION(&Headers());
  for (int i = 0; i < Headers().FileHeader.NumberOfSections; ++i, ++section) {
    const std::string name(reinterpret_cast<const char*>(section->Name),
                           strnlen(reinterpret_cast<const char*>(section->Name), 8));
    const DWORD writable_and_executable = IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE;
    EXPECT_NE(section->Characteristics & writable_and_executable, writable_and_executable) << name;
  }
  // Nothing of the build machine's paths is carried along.
  EXPECT_EQ(image_.find(QUILLMERE_SOURCE_DIR), std::string::npos);
  EXPECT_EQ(image_.find(".pdb"), std::string::npos);
}

TEST_F(BuiltInstaller, CarriesTheIconAsOneLanguageNeutral120By128Image) {
  const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  const std::string group = Resource(RT_GROUP_ICON, "DEFAULT_ICON", neutral);
  ASSERT_EQ(group.size(), 6u + 14u) << "one image in the group";
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const auto* entry = reinterpret_cast<const GroupEntry*>(group.data() + 6);
  EXPECT_EQ(entry->width, 120);
  EXPECT_EQ(entry->height, 128);
  EXPECT_EQ(entry->bit_count, 32);
  EXPECT_EQ(entry->bytes, 63528u);
  EXPECT_EQ(Resource(RT_ICON, MAKEINTRESOURCEA(entry->id), neutral).size(), 63528u);
}

TEST_F(BuiltInstaller, ManifestAsksForCommonControls6) {
  const std::string manifest =
      Resource(RT_MANIFEST, MAKEINTRESOURCEA(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  ASSERT_FALSE(manifest.empty());
  for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                             "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\"",
                             "processorArchitecture=\"x86\"", "type=\"win32\"", "level=\"asInvoker\""}) {
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
  }
}

std::string VersionString(const std::string& block, const char* key) {
  void* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\080404B0\\") + key;
  if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const char*>(value);
}

TEST_F(BuiltInstaller, VersionRecordIs1000ForSimplifiedChinese) {
  const DWORD size = GetFileVersionInfoSizeA(::BuiltInstaller().c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(::BuiltInstaller().c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 0x04B0);

  EXPECT_EQ(VersionString(block, "FileVersion"), "1.0.0.0");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "1.0.0.0");
  for (const char* key : {"FileDescription", "ProductName", "LegalCopyright", "Comments"}) {
    EXPECT_FALSE(VersionString(block, key).empty()) << key;
  }
}

}  // namespace
