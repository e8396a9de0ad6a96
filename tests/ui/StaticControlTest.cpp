#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/common/LogCapture.h"
#include "support/WindowText.h"
#include "tests/ui/TestWindows.h"
#include "ui/FontManager.h"
#include "ui/HandleForLog.h"
#include "ui/InstanceSubclasser.h"
#include "ui/ScopedGdi.h"
#include "ui/StaticControlFrame.h"
#include "ui/StaticControlManager.h"
#include "ui/StaticControlText.h"

namespace {

DWORD StyleOf(HWND hWnd) {
  return static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE));
}

class StaticControlTest : public ::testing::Test {
 protected:
  void SetUp() override { FontManager::GetInstance().CreateFonts(m_parent.Get()); }

  TestParent m_parent;
  StaticControlManager m_manager;
};

}  // namespace

TEST_F(StaticControlTest, LabelAlignment) {
  const struct {
    int alignment;
    DWORD style;
  } cases[] = {
      {0, 0x50000000}, {2, 0x50000002}, {1, 0x50000001},
      {3, 0x50000001}, {-1, 0x50000001}, {99, 0x50000001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    auto label =
        m_manager.CreateStaticControl(0, m_parent.Get(), 40, L"User Name:", c.alignment, 0);
    ASSERT_NE(dynamic_cast<StaticControlText*>(label.get()), nullptr);
    EXPECT_EQ(StyleOf(label->GetHWnd()), c.style);
    EXPECT_EQ(GetWindowLongPtrW(label->GetHWnd(), GWL_EXSTYLE), 0);
  }
}

TEST_F(StaticControlTest, LabelTextFontAndPlace) {
  auto normal = m_manager.CreateStaticControl(0, m_parent.Get(), 41, L"Password:", 2, 0);
  auto bold = m_manager.CreateStaticControl(0, m_parent.Get(), 42, L"Notes:", 2, 1);
  HWND hWnd = normal->GetHWnd();
  EXPECT_EQ(ClassNameOf(hWnd), L"STATIC");
  EXPECT_EQ(GetParent(hWnd), m_parent.Get());
  EXPECT_EQ(GetDlgCtrlID(hWnd), 41);
  EXPECT_EQ(WindowText(hWnd), L"Password:");
  EXPECT_EQ(SendMessageW(hWnd, WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(FontManager::GetInstance().GetFontHandle(0)));
  EXPECT_EQ(SendMessageW(bold->GetHWnd(), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(FontManager::GetInstance().GetFontHandle(1)));
  // Labels are not bound: the parent colours them.
  EXPECT_EQ(GetWindowObject(hWnd), nullptr);

  normal->SetText(L"Website:");
  EXPECT_EQ(WindowText(hWnd), L"Website:");
  EXPECT_EQ(RectInParent(hWnd).right, 0);
  normal->Move(5, 6, 100, 20);
  const RECT placed = RectInParent(hWnd);
  EXPECT_EQ(placed.left, 5);
  EXPECT_EQ(placed.top, 6);
  EXPECT_EQ(placed.right, 105);
  EXPECT_EQ(placed.bottom, 26);

  normal.reset();
  EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(StaticControlTest, FramesByKind) {
  const struct {
    int kind;
    DWORD style;
  } cases[] = {
      {1, 0x50000009}, {2, 0x50000008}, {3, 0x50000006},
      {0, 0x50000007}, {4, 0x50000007}, {-1, 0x50000007},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    auto frame = m_manager.CreateStaticControl(1, m_parent.Get(), 50, L"ignored", c.kind, 1);
    ASSERT_NE(dynamic_cast<StaticControlFrame*>(frame.get()), nullptr);
    EXPECT_EQ(StyleOf(frame->GetHWnd()), c.style);
    EXPECT_EQ(ClassNameOf(frame->GetHWnd()), L"STATIC");
    EXPECT_EQ(WindowText(frame->GetHWnd()), L"");
    EXPECT_EQ(SendMessageW(frame->GetHWnd(), WM_GETFONT, 0, 0), 0);
  }
}

TEST_F(StaticControlTest, OtherTypesGiveNull) {
  EXPECT_EQ(m_manager.CreateStaticControl(2, m_parent.Get(), 1, L"x", 0, 0), nullptr);
  EXPECT_EQ(m_manager.CreateStaticControl(-1, m_parent.Get(), 1, L"x", 0, 0), nullptr);
}

TEST_F(StaticControlTest, ColourMessagesGoToTheColourHook) {
  auto label = m_manager.CreateStaticControl(0, m_parent.Get(), 43, L"Title:", 2, 0);
  auto frame = m_manager.CreateStaticControl(1, m_parent.Get(), 44, nullptr, 1, 0);
  WindowDC dc(m_parent.Get());
  LogCapture log;
  for (UINT message : {static_cast<UINT>(WM_CTLCOLORSTATIC), static_cast<UINT>(WM_CTLCOLOREDIT)}) {
    SCOPED_TRACE(message);
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    EXPECT_EQ(label->Dispatch(message, reinterpret_cast<WPARAM>(dc.Get()),
                              reinterpret_cast<LPARAM>(label->GetHWnd())),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(frame->Dispatch(message, reinterpret_cast<WPARAM>(dc.Get()),
                              reinterpret_cast<LPARAM>(frame->GetHWnd())),
              0);
  }
  // The results above show that the hook ran; the log is checked for the
  // two trace lines, whose texts are fixed for the developers who read it.
  const std::string dispatched = "AbstractEditWindowControl::Dispatch: m_hWnd " +
                                 std::to_string(HandleForLog(label->GetHWnd()));
  EXPECT_EQ(log.Lines()[0], dispatched);
  EXPECT_EQ(log.Lines()[1], "++++StaticControlText::OnCTLColorStatic");
}

TEST_F(StaticControlTest, SetTextColorTracesTheAnswer) {
  auto label = m_manager.CreateStaticControl(0, m_parent.Get(), 45, L"Title:", 2, 0);
  LogCapture log;
  label->SetTextColor();
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0], "StaticControlText::SetTextColor");
  // A fresh context answers its default text colour, black.
  EXPECT_EQ(log.Lines()[1], "StaticControlText::SetTextColor: CLR_INVALID -1 stcReturn 0");
}
