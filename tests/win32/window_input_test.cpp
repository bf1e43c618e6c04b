// The real window's input: label presses, keys, the pause box's byte limit,
// label texts and timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/texts.h"
#include "tests/win32/window_fixture.h"

namespace morvane::win32::testing {
namespace {

void Press(HWND label) { SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }

void Type(HWND hwnd, std::wstring_view chars) {
  for (wchar_t c : chars) SendMessageW(hwnd, WM_CHAR, c, 1);
}

TEST_F(WindowTest, InstructionsToggleChangesOnlyTheHeight) {
  const RECT before = WindowRect(Main());
  HWND toggle = Get(Control::透明标签8);

  Press(toggle);
  RECT rect = WindowRect(Main());
  EXPECT_EQ(rect.bottom - rect.top, kExpandedHeight);
  EXPECT_EQ(rect.left, before.left);
  EXPECT_EQ(rect.top, before.top);
  EXPECT_EQ(rect.right, before.right);
  EXPECT_EQ(window->ReadText(Control::透明标签8), Text(texts::kInstructionsOpen));
  EXPECT_EQ(TextOf(toggle), WideFromGbk(texts::kInstructionsOpen));

  Press(toggle);
  rect = WindowRect(Main());
  EXPECT_EQ(rect.bottom - rect.top, kCollapsedHeight);
  EXPECT_EQ(window->ReadText(Control::透明标签8), Text(texts::kInstructionsClosed));
}

TEST_F(WindowTest, AuthorLinkOpensTheAuthorsSiteOncePerPress) {
  const RECT before = WindowRect(Main());
  for (std::size_t presses = 1; presses <= 2; ++presses) {
    Press(Get(Control::透明标签10));
    ASSERT_EQ(window->opened.size(), presses);
    EXPECT_EQ(window->opened.back(), Text(kAuthorSiteAddress));
  }
  // Other labels open nothing and leave the instructions as they were.
  for (Control other : {Control::透明标签4, Control::透明标签1, Control::透明标签9}) {
    SCOPED_TRACE(RowOf(other).name);
    Press(Get(other));
    EXPECT_EQ(window->opened.size(), 2u);
    EXPECT_EQ(WindowRect(Main()).bottom, before.bottom);
    EXPECT_EQ(window->ReadText(Control::透明标签8), Text(texts::kInstructionsClosed));
  }
  EXPECT_TRUE(window->messages.empty());
}

TEST_F(WindowTest, EnterBreaksTheLineInTheAddressBoxAndNeverPressesStart) {
  HWND address = Get(Control::编辑框1);
  SetFocus(address);
  Type(address, L"a\rb");
  EXPECT_EQ(window->ReadText(Control::编辑框1), Text("a\r\nb"));

  HWND start = Get(Control::按钮1);
  SetFocus(start);
  SendMessageW(start, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageW(start, WM_CHAR, L'\r', 1);
  SendMessageW(start, WM_KEYUP, VK_RETURN, 0xC0000001);
  Pump();
  EXPECT_TRUE(window->messages.empty());

  // A click does press it: the address is not the service's.
  SendMessageW(start, BM_CLICK, 0, 0);
  ASSERT_EQ(window->messages.size(), 1u);
  EXPECT_EQ(window->messages[0], Text(texts::kNotServiceAddress));
}

TEST_F(WindowTest, TabMovesAlongTheTabStops) {
  SetFocus(Get(Control::编辑框1));
  for (Control next : {Control::编辑框2, Control::按钮1, Control::编辑框1}) {
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(GetFocus(), Get(next));
  }
  EXPECT_EQ(window->ReadText(Control::编辑框1), Text());  // no tab character typed
}

TEST_F(WindowTest, PauseBoxCountsItsLimitInGbkBytes) {
  struct Case {
    const wchar_t* start;
    const wchar_t* typed;
    const char* want;  // GBK
  };
  const Case cases[] = {
      {L"60", L"1", "601"},
      {L"601", L"x", "601"},  // a fourth character is refused
      {L"", L"abcd", "abc"},  // letters count like digits
      {L"", L"\u4e2da",
       "\xd6\xd0"
       "a"},  // 中 takes two of the three bytes
      {L"", L"\u4e2dab",
       "\xd6\xd0"
       "a"},                               // ... so a second letter is refused
      {L"", L"\u4e2d\u6587", "\xd6\xd0"},  // 中文 would be four bytes
      {L"6", L"\u4e2d", "6\xd6\xd0"},
  };
  HWND pause = Get(Control::编辑框2);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(WideFromGbk(c.want).size()) + " units wanted");
    SetWindowTextW(pause, c.start);
    SendMessageW(pause, EM_SETSEL, 0x7fff, 0x7fff);
    Type(pause, c.typed);
    EXPECT_EQ(window->ReadText(Control::编辑框2), Text(c.want));
  }

  // A paste keeps the longest run of its first characters that fits, never
  // half a character, and leaves the caret after what it kept.
  struct Paste {
    const wchar_t* start;
    DWORD from, to;  // the selection the paste replaces
    const wchar_t* pasted;
    const char* want;  // GBK
    DWORD caret;
  };
  const Paste pastes[] = {
      {L"", 0, 0, L"12345", "123", 3},
      {L"", 0, 0, L"\u4e2d\u6587\u5b57", "\xd6\xd0", 1},  // 中文字 keeps 中
      {L"", 0, 0, L"12\u4e2d45", "12", 2},                // 中 does not fit, nor anything after it
      {L"", 0, 0, L"1\u4e2d45", "1\xd6\xd0", 2},
      {L"6", 0, 0, L"\u4e2d\u6587",
       "\xd6\xd0"
       "6",
       1},                                // inserted before what was there
      {L"60", 0, 1, L"789", "780", 2},    // replaces the selected 6
      {L"60", 2, 2, L"\u4e2d", "60", 2},  // nothing fits: the box is unchanged
  };
  for (const Paste& p : pastes) {
    SCOPED_TRACE(::testing::Message() << "paste " << (&p - pastes));
    SetWindowTextW(pause, p.start);
    SendMessageW(pause, EM_SETSEL, p.from, p.to);
    SendMessageW(pause, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(p.pasted));
    EXPECT_EQ(window->ReadText(Control::编辑框2), Text(p.want));
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(pause, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, p.caret);
    EXPECT_EQ(to, p.caret);
  }
}

TEST_F(WindowTest, LabelTextsReadBackByteForByte) {
  // Bytes that are no GBK character would not survive a trip through UTF-16.
  const Text odd("\x81\x30\xff");
  window->WriteText(Control::透明标签12, odd);
  EXPECT_EQ(window->ReadText(Control::透明标签12), odd);
  window->WriteText(Control::透明标签11, texts::kNotServiceAddress);
  EXPECT_EQ(TextOf(Get(Control::透明标签11)), WideFromGbk(texts::kNotServiceAddress));
}

TEST_F(WindowTest, TimersTickOnTheWindowUntilStopped) {
  // The countdown timer counts 透明标签2 down once per tick.
  window->WriteText(Control::透明标签2, "1000");
  window->SetTimerPeriod(Control::时钟2, 20);
  PumpFor(400);
  const int left = std::stoi(window->ReadText(Control::透明标签2).str());
  EXPECT_LT(left, 1000);
  EXPECT_GT(left, 1000 - 25);  // never more than one tick per period
  EXPECT_TRUE(IsWindowVisible(Get(Control::透明标签2)));

  window->SetTimerPeriod(Control::时钟2, 0);
  const Text stopped = window->ReadText(Control::透明标签2);
  PumpFor(150);
  EXPECT_EQ(window->ReadText(Control::透明标签2), stopped);
}

// Esc closes the window from any control and from the window itself;
// with a modifier key held it does not.
class EscapeTest : public WindowTest, public ::testing::WithParamInterface<Control> {};

TEST_P(EscapeTest, EscapeClosesTheWindow) {
  HWND target = GetParam() == Control::kNone ? Main() : Get(GetParam());
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(PumpFor(100));  // the quit message came
  EXPECT_EQ(window->hwnd(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(FromEveryFocus, EscapeTest,
                         ::testing::Values(Control::编辑框1, Control::编辑框2, Control::按钮1,
                                           Control::kNone));

TEST_F(WindowTest, EscapeWithShiftDoesNotClose) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(Get(Control::编辑框1), WM_KEYDOWN, VK_ESCAPE, 1);
  const bool quit = PumpFor(100);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_FALSE(quit);
  EXPECT_TRUE(IsWindow(Main()));
}

}  // namespace
}  // namespace morvane::win32::testing
