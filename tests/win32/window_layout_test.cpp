// The real window at start: built from the control table, nothing else.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
#include "platform/win32/label.h"
#include "tests/win32/window_fixture.h"

namespace morvane::win32::testing {
namespace {

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return kLabelClass;
    case ControlKind::kEditBox:
      return L"Edit";
    default:
      return L"Button";
  }
}

TEST_F(WindowTest, MainWindowIsCentredFixedAndCaptioned) {
  const RECT rect = WindowRect(Main());
  EXPECT_EQ(rect.right - rect.left, kWindowWidth);
  EXPECT_EQ(rect.bottom - rect.top, kCollapsedHeight);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - kCollapsedHeight) / 2);

  const LONG style = GetWindowLongW(Main(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0);
  EXPECT_EQ(GetWindowLongW(Main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(TextOf(Main()), L"Morvane  " + WideFromGbk(kAuthorSiteAddress));
  EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(WindowTest, EveryControlIsBuiltFromItsRow) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    HWND hwnd = Get(row.id);
    if (row.kind == ControlKind::kTimer) {
      EXPECT_EQ(hwnd, nullptr);
      continue;
    }
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(ClassOf(hwnd), ExpectedClass(row.kind));
    const HWND parent = row.parent == Control::kNone ? Main() : Get(row.parent);
    EXPECT_EQ(GetParent(hwnd), parent);
    EXPECT_EQ(GetDlgCtrlID(hwnd), ControlId(row.id));

    RECT rect = WindowRect(hwnd);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, row.x);
    EXPECT_EQ(rect.top, row.y);
    EXPECT_EQ(rect.right - rect.left, row.width);
    EXPECT_EQ(rect.bottom - rect.top, row.height);

    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ((style & WS_VISIBLE) != 0, row.shownAtStart);
    EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop);
    EXPECT_EQ(style & WS_DISABLED, 0);
    EXPECT_EQ(TextOf(hwnd), WideFromGbk(row.initialText));
    EXPECT_EQ(window->ReadText(row.id), Text(row.initialText));
  }
}

TEST_F(WindowTest, ControlStylesFollowTheirKind) {
  const LONG address = GetWindowLongW(Get(Control::编辑框1), GWL_STYLE);
  EXPECT_EQ(address & (ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER),
            ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_BORDER);
  EXPECT_EQ(address & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL), 0);  // wraps, no scroll bars

  HWND pause = Get(Control::编辑框2);
  EXPECT_EQ(GetWindowLongW(pause, GWL_STYLE) & (ES_MULTILINE | ES_AUTOHSCROLL), ES_AUTOHSCROLL);
  EXPECT_NE(GetWindowLongW(pause, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  EXPECT_EQ(GetWindowLongW(Get(Control::分组框1), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  // An ordinary push button: Enter must not press it.
  EXPECT_EQ(GetWindowLongW(Get(Control::按钮1), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(WindowTest, SiblingsStackInTableOrder) {
  for (HWND parent : {Main(), Get(Control::分组框1)}) {
    std::vector<HWND> expected;
    for (const ControlRow& row : kControls) {
      if (HWND hwnd = Get(row.id); hwnd && GetParent(hwnd) == parent) expected.push_back(hwnd);
    }
    std::vector<HWND> actual;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      actual.push_back(child);
    }
    EXPECT_EQ(actual, expected);
  }
}

TEST_F(WindowTest, FontsAndPointers) {
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    HWND hwnd = Get(row.id);
    if (!hwnd) continue;
    if (row.kind != ControlKind::kLabel) {
      auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
      if (row.boldFont) {
        LOGFONTW lf{};
        ASSERT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        EXPECT_EQ(lf.lfHeight, -12);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
        EXPECT_EQ(lf.lfFaceName[0], L'\0');
      } else {
        EXPECT_EQ(font, gui);
      }
      continue;
    }
    SetCursor(nullptr);
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, row.handCursor ? IDC_HAND : IDC_ARROW));
  }
}

// When one control cannot be made, Create fails and takes down what it
// made, without posting the quit message: the program then shows its error
// in a message box, which a pending quit would close at once.
const wchar_t* g_refusedClass = nullptr;

LRESULT CALLBACK RefuseClass(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(wParam)) == g_refusedClass) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WindowCreation, FailingControlLeavesNoQuitMessage) {
  for (const wchar_t* refused : {L"Edit", L"Button", kLabelClass}) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(refused)));
    g_refusedClass = refused;
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseClass, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    NoNetwork http;
    RecordingWindow window;
    Program program{window, http, {}};
    const bool created = window.Create(program);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(created);
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_FALSE(Pump());
  }
}

}  // namespace
}  // namespace morvane::win32::testing
