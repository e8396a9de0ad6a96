#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "tests/app/ModuleResource.h"

namespace {

// The version block of this program's own file, as Explorer reads it.
std::vector<unsigned char> OwnVersionBlock() {
  wchar_t path[MAX_PATH];
  if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  std::vector<unsigned char> block(size);
  if (!size || !GetFileVersionInfoW(path, 0, size, block.data())) return {};
  return block;
}

std::wstring VersionString(std::vector<unsigned char>& block, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !length) return L"(none)";
  return static_cast<const wchar_t*>(value);
}

std::string ManifestText() {
  const std::vector<unsigned char> bytes = ModuleResource(
      MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST
  return std::string(bytes.begin(), bytes.end());
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(VersionResource, FixedPartSaysVersion1010OfAnApplication) {
  std::vector<unsigned char> block = OwnVersionBlock();
  ASSERT_FALSE(block.empty());
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0x00010000u);
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask, 0u) << "no debug, pre-release or patch";
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(VersionResource, StringsNameTheProductItsMakerAndItsVersionInUsEnglish) {
  std::vector<unsigned char> block = OwnVersionBlock();
  ASSERT_FALSE(block.empty());
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"ProductName", L"Keyfolio for Flash Drives"},
      {L"FileDescription", L"Keyfolio for Flash Drives password keeper"},
      {L"CompanyName", L"Quillmark"},
      {L"FileVersion", L"1.0.1.0"},
      {L"ProductVersion", L"1.01"},
      {L"OriginalFilename", L"Keyfolio.exe"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(VersionString(block, name), text) << name;

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const WORD* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0409) << "US English";
  EXPECT_EQ(translation[1], 1200) << "Unicode";
}

TEST(ManifestResource, AsksForCommonControls6AsInvokerAwareOfEachMonitorsDpi) {
  const std::string manifest = ManifestText();
  ASSERT_FALSE(manifest.empty());
  EXPECT_TRUE(Contains(manifest, "name=\"Microsoft.Windows.Common-Controls\""));
  EXPECT_TRUE(Contains(manifest, "version=\"6.0.0.0\""));
  EXPECT_TRUE(Contains(manifest, "publicKeyToken=\"6595b64144ccf1df\""));
  EXPECT_TRUE(Contains(manifest, "level=\"asInvoker\""));
  EXPECT_FALSE(Contains(manifest, "requireAdministrator"));
  EXPECT_FALSE(Contains(manifest, "highestAvailable"));
  // Per-monitor version 2, falling back to per-monitor (Windows 10 1607);
  // before Windows 10, per-monitor on 8.1 and the system's DPI on 7 and 8.
  EXPECT_TRUE(Contains(manifest,
                       "<dpiAwareness "
                       "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                       "PerMonitorV2, PerMonitor</dpiAwareness>"));
  EXPECT_TRUE(Contains(manifest,
                       "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                       "true/pm</dpiAware>"));
  // Windows 7, 8, 8.1, and 10 and 11.
  for (const char* system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_TRUE(Contains(manifest, system)) << system;
  }
}

// The manifest is not only present but in force: the process gets version 6
// of the common controls, the one kept in the side-by-side store (Wine's
// version 6 reports 5 from DllGetVersion, so the file's place tells).
TEST(ManifestResource, ProcessLoadsCommonControls6) {
  const HMODULE controls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  wchar_t path[MAX_PATH]{};
  const DWORD length = GetModuleFileNameW(controls, path, MAX_PATH);
  FreeLibrary(controls);
  ASSERT_GT(length, 0u);
  std::wstring lower(path, length);
  for (wchar_t& c : lower) c = towlower(c);
  EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos) << lower;
  EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."),
            std::wstring::npos)
      << lower;
}
