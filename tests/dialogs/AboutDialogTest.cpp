// The About box and the disclaimer as the Help menu shows them, in a program
// that carries the program's resources (icon 107, the link's hand cursor).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/AboutDialog.h"
#include "dialogbase/DialogTemplates.h"
#include "dialogs/DisclaimerMessage.h"
#include "support/ResourceIds.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"
#include "ui/HotLinkText.h"

namespace {

const int kTexts[] = {2501, 2502, 2505, IDC_HOTLINK};

struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<BYTE> color;
  std::vector<BYTE> mask;
};

std::vector<BYTE> BitmapBits(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  std::vector<BYTE> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
  GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
  return bits;
}

IconImage ImageOf(HICON icon) {
  IconImage image;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return image;
  BITMAP color{};
  GetObjectW(info.hbmColor, sizeof color, &color);
  image.width = color.bmWidth;
  image.height = color.bmHeight;
  image.color = BitmapBits(info.hbmColor);
  image.mask = BitmapBits(info.hbmMask);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return image;
}

// The address the link opens, empty when it has none.
std::wstring LinkAddress(HWND dialog) {
  const auto* block =
      reinterpret_cast<const HotLinkBlock*>(GetWindowLongPtrW(GetDlgItem(dialog, IDC_HOTLINK), 0));
  return block && block->address ? block->address.get() : L"";
}

class AboutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    ASSERT_NE(RegisterHotLinkClass(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, 0), 0);
    FontManager::GetInstance().CreateFonts(m_owner.Get());
  }

  TestOwner m_owner;
};

// The program's icon at 32 x 32, the texts of the table in the bold font and
// whole, on white, centred over the owner.
TEST_F(AboutDialogTest, ShowsTheIconAndTheTextsInBoldOverItsOwner) {
  const HICON expected = static_cast<HICON>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KEYFOLIO), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(expected, nullptr);
  const IconImage expectedImage = ImageOf(expected);
  DestroyIcon(expected);
  DialogDriver driver([&](HWND dialog) {
    wchar_t caption[16] = {};
    GetWindowTextW(dialog, caption, 16);
    EXPECT_STREQ(caption, L"About");
    EXPECT_TRUE(IsCentredOver(dialog, m_owner.Get()));
    const IconImage shown = ImageOf(reinterpret_cast<HICON>(
        SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0)));
    EXPECT_EQ(shown.width, 32);
    EXPECT_EQ(shown.height, 32);
    EXPECT_EQ(shown.color, expectedImage.color);
    EXPECT_EQ(shown.mask, expectedImage.mask);
    EXPECT_EQ(Text(dialog, 2501), L"Keyfolio for Flash Drives");
    EXPECT_EQ(Text(dialog, 2502), L"Version 1.01");
    EXPECT_EQ(Text(dialog, 2505), L"QUILLMARK");
    EXPECT_EQ(Text(dialog, IDC_HOTLINK), kHelpLinkText);
    EXPECT_EQ(Text(dialog, IDOK), L"&OK");
    const HFONT bold = FontManager::GetInstance().GetFontHandle(1);
    ASSERT_NE(bold, nullptr);
    for (const int id : kTexts) {
      EXPECT_EQ(FontOf(dialog, id), bold) << id;
      EXPECT_LE(TextWidth(dialog, id), VisibleWidth(dialog, id)) << id;
    }
    EXPECT_EQ(FontOf(dialog, IDOK), bold);
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const HDC dc = GetDC(dialog);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORDLG,
                                                    reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(dialog))),
              white);
    for (const int id : {2501, 2502, 2505, IDC_ABOUT_ICON}) {
      EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)))),
                white)
          << id;
    }
    ReleaseDC(dialog, dc);
  });
  AboutDialog about(m_owner.Get(), L"", nullptr);
  EXPECT_TRUE(driver.EndedByDriver());
}

// The link opens the help page it is given; while the page is missing it has
// no address, and a click on it is left to the program, with the box.
TEST_F(AboutDialogTest, TheLinkOpensTheGivenPageAndLeavesAMissingOneToTheProgram) {
  const std::wstring page = L"E:\\help\\Keyfolio-Flash-Instructions.htm";
  for (const bool shipped : {false, true}) {
    SCOPED_TRACE(shipped ? "page shipped" : "page missing");
    std::wstring address = L"not read";
    HWND box = nullptr;
    std::vector<HWND> asked;
    DialogDriver driver([&](HWND dialog) {
      box = dialog;
      address = LinkAddress(dialog);
      if (!shipped) SendDlgItemMessageW(dialog, IDC_HOTLINK, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    });
    AboutDialog about(m_owner.Get(), shipped ? page : L"", [&](HWND owner) {
      asked.push_back(owner);
    });
    EXPECT_EQ(address, shipped ? page : L"");
    EXPECT_EQ(asked, shipped ? std::vector<HWND>{} : std::vector<HWND>{box});
  }
}

// Esc, the close box and "&OK" (a click or Enter) each close the box.
TEST_F(AboutDialogTest, ClosesWithEscTheCloseBoxAndOK) {
  struct Case {
    const char* what;
    void (*close)(HWND dialog);
    INT_PTR result;
  };
  const Case cases[] = {
      {"Esc", [](HWND dialog) { PostKey(dialog, IDOK, VK_ESCAPE); }, IDCANCEL},
      {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
       IDCANCEL},
      {"OK clicked", [](HWND dialog) { Click(dialog, IDOK); }, IDOK},
      {"Enter", [](HWND dialog) { PostKey(dialog, IDOK, VK_RETURN); }, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver([&](HWND dialog) { c.close(dialog); });
    AboutDialog about(m_owner.Get(), L"", nullptr);
    EXPECT_TRUE(driver.ActionRan());
    EXPECT_FALSE(driver.EndedByDriver());
    EXPECT_EQ(about.GetResult(), c.result);
  }
}

TEST(DisclaimerMessage, ShowsItsTextUnderItsCaptionWithOKOnly) {
  TestOwner owner;
  MessageBoxAnswerer answerer;
  DisclaimerMessage disclaimer(owner.Get());
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  const MessageBoxAnswerer::Box& box = answerer.Boxes()[0];
  EXPECT_EQ(box.text,
            L"Your data for Keyfolio for Flash Drives is kept on your flash drive in a "
            L"scrambled form. Scrambling is not strong encryption: anyone who has your flash "
            L"drive and the right tools can read your data, so keep the drive safe. If your "
            L"data is lost or stolen, immediately change your passwords for all your accounts. "
            L"Quillmark is not liable for any damage caused by lost or stolen data.");
  EXPECT_EQ(box.caption, L"Keyfolio for Flash Drives");
  EXPECT_EQ(box.owner, owner.Get());
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(box.hasIcon);
}

}  // namespace
