// The control skin on the real window: what it takes over, what it leaves,
// and the pixels it and the labels draw, read back from the screen; and the
// real message box, which the skin draws too.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "app/texts.h"
#include "platform/win32/skin.h"
#include "tests/win32/window_fixture.h"

namespace morvane::win32::testing {
namespace {

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

// The window as it is on screen, frame and children included. By default
// everything is drawn afresh first; kAsLeft takes the pixels as the last
// paints left them, so that stale drawing shows.
class Capture {
 public:
  enum class Redraw { kAll, kAsLeft };
  explicit Capture(HWND top, Redraw redraw = Redraw::kAll) : top_(top) {
    const UINT flags = redraw == Redraw::kAll ? RDW_INVALIDATE | RDW_ERASE | RDW_FRAME |
                                                    RDW_ALLCHILDREN | RDW_UPDATENOW
                                              : RDW_ALLCHILDREN | RDW_UPDATENOW;
    RedrawWindow(top, nullptr, nullptr, flags);
    const RECT rect = WindowRect(top);
    HDC screen = GetWindowDC(top);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top);
    old_ = SelectObject(dc_, bitmap_);
    BitBlt(dc_, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, 0, 0, SRCCOPY);
    ReleaseDC(top, screen);
  }
  ~Capture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  // A pixel of `hwnd`, given in its own window coordinates (0, 0 is the
  // corner of its frame).
  COLORREF At(HWND hwnd, int x, int y) const {
    const RECT top = WindowRect(top_);
    const RECT rect = WindowRect(hwnd);
    return GetPixel(dc_, rect.left - top.left + x, rect.top - top.top + y) & 0xffffff;
  }
  // Whether any pixel of the window's rectangle has the colour.
  bool Shows(HWND hwnd, COLORREF color) const {
    return Count(hwnd, [&](COLORREF c) { return c == color; }) > 0;
  }
  // How many pixels of the window's rectangle pass the test, leaving out
  // those inside any of the `covered` windows.
  template <typename Test>
  int Count(HWND hwnd, Test test, std::initializer_list<HWND> covered = {}) const {
    const RECT rect = WindowRect(hwnd);
    int count = 0;
    for (int y = 0; y < rect.bottom - rect.top; ++y) {
      for (int x = 0; x < rect.right - rect.left; ++x) {
        const POINT screen{rect.left + x, rect.top + y};
        const bool hidden = std::any_of(covered.begin(), covered.end(), [&](HWND c) {
          const RECT r = WindowRect(c);
          return PtInRect(&r, screen) != FALSE;
        });
        if (!hidden && test(At(hwnd, x, y))) ++count;
      }
    }
    return count;
  }

 private:
  HWND top_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// The frame colour all the way round, then the window colour inside it.
void ExpectSkinFrame(const Capture& capture, HWND edit, COLORREF frame) {
  const RECT rect = WindowRect(edit);
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  for (POINT p : {POINT{0, 0}, POINT{w / 2, 0}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1},
                  POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    EXPECT_EQ(capture.At(edit, p.x, p.y), frame) << p.x << "," << p.y;
  }
  const COLORREF inside = GetSysColor(COLOR_WINDOW) & 0xffffff;
  for (POINT p : {POINT{1, 1}, POINT{w / 2, 1}, POINT{w - 2, h - 2}, POINT{1, h / 2}}) {
    EXPECT_EQ(capture.At(edit, p.x, p.y), inside) << p.x << "," << p.y;
  }
}

TEST_F(WindowTest, SkinFramesBothEditBoxesInTheSchemeColour) {
  for (Control c : {Control::按钮1, Control::分组框1, Control::编辑框1, Control::编辑框2}) {
    EXPECT_TRUE(skin::IsSkinned(Get(c))) << RowOf(c).name;
  }
  // The caret is the edit box's, drawn in its client area; keep it away.
  SetFocus(Get(Control::按钮1));
  const Capture capture(Main());
  {
    SCOPED_TRACE("address box");
    ExpectSkinFrame(capture, Get(Control::编辑框1), RGB(164, 185, 127));
  }
  ExpectSkinFrame(capture, Get(Control::编辑框2), RGB(164, 185, 127));
  // The push button's face and the group box's frame are the skin's too.
  EXPECT_EQ(capture.At(Get(Control::按钮1), 10, 0), RGB(164, 185, 127));
  EXPECT_EQ(capture.At(Get(Control::分组框1), 0, 20), RGB(164, 185, 127));
  EXPECT_NE(capture.At(Get(Control::按钮1), 10, 3), GetSysColor(COLOR_BTNFACE) & 0xffffff);
}

TEST_F(WindowTest, BackgroundAndLabelColours) {
  PostMessageW(Get(Control::透明标签8), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // expand
  Pump();
  const Capture capture(Main());
  RECT client{};
  GetClientRect(Main(), &client);
  POINT corner{4, client.bottom - 4};
  MapWindowPoints(Main(), HWND_DESKTOP, &corner, 1);
  const RECT top = WindowRect(Main());
  EXPECT_EQ(capture.At(Main(), corner.x - top.left, corner.y - top.top), Ref(kBackground));
  // Each label draws its text in its colour over the background, and no
  // background of its own: its corner shows the window's colour.
  for (const ControlRow& row : kControls) {
    if (row.kind != ControlKind::kLabel || !row.shownAtStart) continue;
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(capture.Shows(Get(row.id), Ref(row.textColor)));
  }
  EXPECT_EQ(capture.At(Get(Control::透明标签10), 0, 0), Ref(kBackground));
  EXPECT_EQ(capture.At(Get(Control::透明标签1), 0, 0), Ref(kBackground));  // inside the group box
}

bool Dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96; }

// The countdown takes the strip inside the group box from the status
// labels. The captions inside the group box must leave the screen with
// their windows although the skinned group box never erases its inside:
// the pixels are read as the tick's own paints left them.
TEST_F(WindowTest, CountdownTickClearsTheCaptionsInsideTheGroupBox) {
  HWND songCaption = Get(Control::透明标签1);
  HWND countCaption = Get(Control::透明标签3);
  ASSERT_GT(Capture(Main()).Count(songCaption, Dark), 0);  // drawn to begin with
  ASSERT_GT(Capture(Main()).Count(countCaption, Dark), 0);

  window->WriteText(Control::透明标签2, "5");
  OnTimerTick(*program, Control::时钟2);
  Pump();
  ASSERT_FALSE(IsWindowVisible(songCaption));
  ASSERT_EQ(window->ReadText(Control::透明标签2), Text("4"));

  const Capture capture(Main(), Capture::Redraw::kAsLeft);
  const std::initializer_list<HWND> countdown = {Get(Control::透明标签13), Get(Control::透明标签2),
                                                 Get(Control::透明标签7)};
  for (HWND label : countdown) EXPECT_GT(capture.Count(label, Dark), 0);
  // The countdown's last label reaches into the play-count caption's place.
  EXPECT_EQ(capture.Count(songCaption, Dark, countdown), 0);
  EXPECT_EQ(capture.Count(countCaption, Dark, countdown), 0);

  // At zero the status comes back and the countdown leaves the strip.
  window->WriteText(Control::透明标签2, "1");
  OnTimerTick(*program, Control::时钟2);
  Pump();
  ASSERT_TRUE(IsWindowVisible(songCaption));
  const Capture back(Main(), Capture::Redraw::kAsLeft);
  const std::initializer_list<HWND> status = {songCaption, Get(Control::透明标签12), countCaption,
                                              Get(Control::透明标签11)};
  for (HWND label : status) EXPECT_GT(back.Count(label, Dark), 0);
  for (HWND label : countdown) EXPECT_EQ(back.Count(label, Dark, status), 0);
}

TEST_F(WindowTest, AnotherStyleRedrawsInItsSchemeAndOffGivesEachWindowItsOwnDrawing) {
  window->ApplyControlSkin(3);
  ExpectSkinFrame(Capture(Main()), Get(Control::编辑框2), RGB(198, 197, 215));
  window->ApplyControlSkin(1);
  ExpectSkinFrame(Capture(Main()), Get(Control::编辑框2), RGB(123, 158, 189));

  window->ApplyControlSkin(0);
  for (Control c : {Control::按钮1, Control::分组框1, Control::编辑框1, Control::编辑框2}) {
    EXPECT_FALSE(skin::IsSkinned(Get(c))) << RowOf(c).name;
  }
  const Capture capture(Main());
  EXPECT_NE(capture.At(Get(Control::编辑框2), 0, 0), RGB(123, 158, 189));
  // The hook has gone with it: a window created now is left alone.
  HWND late = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | BS_PUSHBUTTON, 0, 0, 20, 20, Main(),
                              nullptr, nullptr, nullptr);
  EXPECT_FALSE(skin::IsSkinned(late));
  DestroyWindow(late);
}

// Which windows the skin takes over, those that exist when it is switched
// on and those created later, by class and style.
TEST_F(WindowTest, SkinTakesOverByClassAndStyle) {
  struct Case {
    const wchar_t* className;
    DWORD style;
    bool skinned;
  };
  const Case cases[] = {
      {L"BUTTON", BS_PUSHBUTTON, true},
      {L"BUTTON", BS_DEFPUSHBUTTON, true},
      {L"BUTTON", BS_AUTOCHECKBOX, true},
      {L"BUTTON", BS_AUTORADIOBUTTON, true},
      {L"BUTTON", BS_GROUPBOX, true},
      {L"BUTTON", BS_OWNERDRAW, false},
      {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, false},
      {L"EDIT", WS_BORDER, true},
      {L"COMBOBOX", CBS_DROPDOWN, true},
      {L"COMBOBOX", CBS_DROPDOWNLIST, true},
      {L"COMBOBOX", CBS_SIMPLE, false},
      {UPDOWN_CLASSW, 0, true},
      {L"STATIC", SS_LEFT, false},
      {L"LISTBOX", WS_BORDER, false},
  };
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_INTERNET_CLASSES};
  InitCommonControlsEx(&icc);
  for (bool createdLater : {true, false}) {
    if (!createdLater) window->ApplyControlSkin(0);
    std::vector<HWND> made;
    for (const Case& c : cases) {
      made.push_back(CreateWindowExW(0, c.className, L"x", WS_CHILD | c.style, 0, 0, 60, 60, Main(),
                                     nullptr, nullptr, nullptr));
    }
    HWND ip = CreateWindowExW(0, WC_IPADDRESSW, L"", WS_CHILD, 0, 0, 120, 20, Main(), nullptr,
                              nullptr, nullptr);
    if (!createdLater) window->ApplyControlSkin(2);
    for (std::size_t i = 0; i < made.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "case " << i << (createdLater ? " later" : " before"));
      ASSERT_NE(made[i], nullptr);
      EXPECT_EQ(skin::IsSkinned(made[i]), cases[i].skinned);
    }
    // A drop-down combo box's list is skinned with it.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(made[8], &info));
    EXPECT_TRUE(skin::IsSkinned(info.hwndList));
    // The fields of an IP-address control are its own.
    int fields = 0;
    for (HWND f = GetWindow(ip, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT), ++fields) {
      EXPECT_FALSE(skin::IsSkinned(f));
    }
    EXPECT_GT(fields, 0);
    for (HWND hwnd : made) DestroyWindow(hwnd);
    DestroyWindow(ip);
  }
  // The labels and the window itself are never skinned.
  EXPECT_FALSE(skin::IsSkinned(Main()));
  EXPECT_FALSE(skin::IsSkinned(Get(Control::透明标签8)));
}

// The message box is created later on the same thread, so its OK button is
// drawn by the skin. A thread timer looks at the box from inside its modal
// loop and closes it, so the test never waits for a person.
struct BoxProbe {
  bool found = false;
  bool buttonSkinned = false;
  COLORREF buttonEdge = 0;
  std::wstring caption;
  std::wstring text;
};
BoxProbe g_probe;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  g_probe.found = true;
  g_probe.caption = TextOf(box);
  HWND ok = GetDlgItem(box, IDOK);
  g_probe.buttonSkinned = ok && skin::IsSkinned(ok);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
      g_probe.text = TextOf(child);
    }
  }
  if (ok) g_probe.buttonEdge = Capture(box).At(ok, 10, 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(WindowTest, MessageBoxOkButtonIsSkinned) {
  g_probe = {};
  window->realMessageBox = true;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeBox);
  // Start with an empty address shows the box.
  SendMessageW(Get(Control::按钮1), BM_CLICK, 0, 0);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(g_probe.found);
  EXPECT_EQ(g_probe.caption, WideFromGbk(texts::kMessageCaption));
  EXPECT_EQ(g_probe.text, WideFromGbk(texts::kEnterAddress));
  EXPECT_TRUE(g_probe.buttonSkinned);
  EXPECT_EQ(g_probe.buttonEdge, RGB(164, 185, 127));
}

// While the real box waits for OK the window takes no input, and its
// timers keep ticking; OK gives the window its input back.
struct ModalProbe {
  HWND main = nullptr;
  RecordingWindow* window = nullptr;
  int probes = 0;
  int countdownAtOpen = 0;
  bool mainEnabledWhileOpen = true;
  int ticksWhileOpen = 0;
};
ModalProbe g_modal;

int Countdown(RecordingWindow& window) {
  return std::stoi(window.ReadText(Control::透明标签2).str());
}

void CALLBACK ProbeModal(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  if (g_modal.probes++ == 0) g_modal.countdownAtOpen = Countdown(*g_modal.window);
  g_modal.mainEnabledWhileOpen = g_modal.mainEnabledWhileOpen && IsWindowEnabled(g_modal.main);
  g_modal.ticksWhileOpen = g_modal.countdownAtOpen - Countdown(*g_modal.window);
  // A few ticks are enough; give up after about three seconds.
  if (g_modal.ticksWhileOpen >= 3 || g_modal.probes > 100) {
    KillTimer(nullptr, timer);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

TEST_F(WindowTest, MessageBoxHoldsTheWindowWhileTimersTick) {
  g_modal = {Main(), window.get()};
  window->realMessageBox = true;
  window->WriteText(Control::透明标签2, "1000");
  window->SetTimerPeriod(Control::时钟2, 20);
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, ProbeModal);
  window->ShowMessage(texts::kEnterAddress);
  KillTimer(nullptr, timer);
  window->SetTimerPeriod(Control::时钟2, 0);

  ASSERT_GT(g_modal.probes, 0);  // the box was seen
  EXPECT_FALSE(g_modal.mainEnabledWhileOpen);
  EXPECT_GE(g_modal.ticksWhileOpen, 3);
  EXPECT_TRUE(IsWindowEnabled(Main()));
}

}  // namespace
}  // namespace morvane::win32::testing
