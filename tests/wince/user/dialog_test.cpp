// Modal dialogs: the order of messages from creation to destruction, when and
// where the dialog shows, EndDialog during WM_INITDIALOG, what the modal loop
// returns for each way of ending, the owner's disabling, activation,
// DefDlgProcW's answers, bad arguments, and message boxes.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "dialog_test_support.h"

namespace {

using namespace dialog_test;
using window_test::Log;
using window_test::Message;
using window_test::Messages;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TemplateBuilder OkCancel(DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE) {
  TemplateBuilder t(style | DS_SETFONT, 10, 10, 100, 60, u"Test", 8, u"System");
  t.Item({kChild | BS_PUSHBUTTON | WS_TABSTOP, 4, 4, 40, 14, IDOK, kButton, u"OK"})
      .Item({kChild | BS_PUSHBUTTON | WS_TABSTOP, 50, 4, 40, 14, IDCANCEL, kButton, u"Cancel"});
  return t;
}

class DialogManagerTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    owner_ = CreateWindowExW(0, window_test::kClass, u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240,
                             320, nullptr, nullptr, Instance(), nullptr);
    ASSERT_NE(owner_, nullptr);
    SetActiveWindow(owner_);
    wince::host::PumpMessages();
    Log().clear();
  }

  // The dialog: the first window other than the owner in the log.
  static HWND DialogIn(const std::vector<Message>& log, HWND owner) {
    for (const Message& m : log)
      if (m.hwnd != owner) return m.hwnd;
    return nullptr;
  }

  HWND owner_ = nullptr;
};

TEST_F(DialogManagerTest, MessagesFromCreationToDestructionComeInThePlatformsOrder) {
  HWND ok = nullptr;
  WPARAM font = 0;
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                          INT_PTR& result) {
    if (message == WM_SETFONT) font = wParam;
    if (message != WM_INITDIALOG) return EndOnButtons(dialog, message, wParam, lParam, result);
    ok = reinterpret_cast<HWND>(wParam);
    result = TRUE;
    return true;
  };
  wince::host::UserClick(IDOK);
  ASSERT_EQ(Run(OkCancel(), owner_), IDOK);
  auto log = Messages({WM_KILLFOCUS, WM_SETFOCUS, WM_ENABLE, WM_SETFONT, WM_INITDIALOG,
                       WM_SHOWWINDOW, WM_ACTIVATE, WM_COMMAND, WM_DESTROY, WM_NCDESTROY});
  HWND dlg = DialogIn(log, owner_);
  ASSERT_NE(font, 0u);
  ASSERT_NE(ok, nullptr);
  auto handle = [](HWND h) { return reinterpret_cast<WPARAM>(h); };
  EXPECT_SEQUENCE(log, (std::vector<Message>{
                           {owner_, WM_KILLFOCUS, 0},  // the owner is disabled
                           {owner_, WM_ENABLE, FALSE},
                           {dlg, WM_SETFONT, font},
                           {dlg, WM_INITDIALOG, handle(ok)},  // the first tab stop
                           {owner_, WM_ACTIVATE, WA_INACTIVE},  // TRUE: OK takes the focus
                           {dlg, WM_ACTIVATE, WA_ACTIVE},
                           {dlg, WM_SHOWWINDOW, TRUE},  // the template has WS_VISIBLE
                           {dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)},
                           {owner_, WM_ENABLE, TRUE},  // EndDialog
                           {dlg, WM_SETFOCUS, handle(ok)},
                           {dlg, WM_ACTIVATE, WA_INACTIVE},
                           {owner_, WM_ACTIVATE, WA_ACTIVE},
                           {dlg, WM_KILLFOCUS, handle(owner_)},
                           {owner_, WM_SETFOCUS, handle(dlg)},
                           {dlg, WM_DESTROY, 0},  // after the loop
                           {dlg, WM_NCDESTROY, 0}}));
  EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(DialogManagerTest, EndDialogDuringInitDialogNeverShowsTheDialog) {
  for (DWORD visible : {DWORD{0}, DWORD{WS_VISIBLE}}) {
    Log().clear();
    wince::host::ClearUserActions();
    OnDialogMessage() = [](HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR&) {
      if (message == WM_INITDIALOG) EndDialog(dialog, 42);
      return false;
    };
    wince::host::UserClick(IDOK);
    EXPECT_EQ(Run(OkCancel(WS_POPUP | visible), owner_), 42);
    EXPECT_TRUE(Messages({WM_SHOWWINDOW, WM_PAINT}).empty()) << window_test::Describe(Log());
    EXPECT_EQ(wince::host::PendingUserActions(), 1u);  // no loop ran
    EXPECT_TRUE(IsWindowEnabled(owner_));
  }
}

TEST_F(DialogManagerTest, TheLoopEndsWithEndDialogsResultAndFailsLoudlyWithoutAUser) {
  struct Case {
    const char* name;
    std::function<void()> queue;
    INT_PTR result;
    const char* complaint;  // on stderr, or nullptr
    bool quits = false;     // WM_QUIT is posted again for the caller's loop
  };
  using namespace wince::host;
  const Case cases[] = {
      {"OK", [] { UserClick(IDOK); }, IDOK, nullptr},
      {"Cancel", [] { UserClick(IDCANCEL); }, IDCANCEL, nullptr},
      {"WM_CLOSE becomes Cancel",
       [] { UserDoes([](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); }); }, IDCANCEL, nullptr},
      {"destroyed instead of ended", [] { UserDoes([](HWND d) { DestroyWindow(d); }); }, 0,
       nullptr},
      {"WM_QUIT ends the loop with the default result",
       [] { UserDoes([](HWND) { PostQuitMessage(3); }); }, IDOK, nullptr, true},
      {"no user", [] {}, -1, "no user action is queued"},
      {"an action that cannot be done", [] { UserClick(999); UserClick(IDOK); }, -1,
       "no control has the id 999"},
      {"no such item", [] { UserChoose(IDOK, u"red"); UserClick(IDOK); }, -1,
       "has no item \"red\""},
  };
  for (const Case& c : cases) {
    ClearUserActions();
    OnDialogMessage() = EndOnButtons;
    c.queue();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(OkCancel(), owner_), c.result) << c.name;
    std::string said = ::testing::internal::GetCapturedStderr();
    if (c.complaint) {
      EXPECT_NE(said.find(c.complaint), std::string::npos) << c.name << ": " << said;
    } else {
      EXPECT_EQ(said, "") << c.name;
    }
    EXPECT_EQ(PendingUserActions(), 0u) << c.name;
    EXPECT_TRUE(IsWindowEnabled(owner_)) << c.name;
    MSG quit;
    bool quitAgain = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(quitAgain, c.quits) << c.name;
  }
}

TEST_F(DialogManagerTest, TheOwnersTopLevelWindowIsDisabledAndItsTapsEaten) {
  HWND panel = Child(owner_, 0, 200, 240, 120);
  Log().clear();
  OnDialogMessage() = EndOnButtons;
  wince::host::UserDoes([&](HWND) {
    EXPECT_FALSE(IsWindowEnabled(owner_));
    EXPECT_TRUE(IsWindowEnabled(panel));  // only the top-level window is disabled
    EXPECT_EQ(SetFocus(panel), nullptr);  // but it is inside one
    wince::host::PenDown(panel, 10, 10);
    wince::host::PenUp(panel, 10, 10);
  });
  wince::host::UserClick(IDOK);
  EXPECT_EQ(Run(OkCancel(), panel), IDOK);
  EXPECT_TRUE(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(DialogManagerTest, ActivationLostToAnotherProgramAndGivenBackByEndDialog) {
  // The options dialog's way: lose the activation, and the dialog ends.
  LPARAM other = 1;
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                          INT_PTR& result) {
    if (message != WM_ACTIVATE || LOWORD(wParam) != WA_INACTIVE)
      return EndOnButtons(dialog, message, wParam, lParam, result);
    other = lParam;
    EndDialog(dialog, 7);
    result = TRUE;
    return true;
  };
  wince::host::UserActivateAnotherWindow();
  EXPECT_EQ(Run(OkCancel(), owner_), 7);
  EXPECT_EQ(other, 0);  // another program's window
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);

  // EndDialog gives the activation back to the owner while the dialog is
  // still the active window, so the dialog hears WA_INACTIVE, and an
  // EndDialog there has the last word, as on the platform.
  SetActiveWindow(owner_);
  wince::host::UserClick(IDOK);
  EXPECT_EQ(Run(OkCancel(), owner_), 7);
  EXPECT_EQ(other, reinterpret_cast<LPARAM>(owner_));
  EXPECT_EQ(GetActiveWindow(), owner_);
}

TEST_F(DialogManagerTest, ShownWhenTheLoopFirstRunsDryInDialogUnitsOrCentred) {
  SIZE base = EightPointBaseUnits();
  int caption = GetSystemMetrics(SM_CYCAPTION);
  MoveWindow(owner_, 30, 40, 200, 200, FALSE);
  for (DWORD centre : {DWORD{0}, DWORD{DS_CENTER}}) {
    RECT window{}, client{};
    bool visibleAtInit = true;
    OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR&) {
      if (message == WM_INITDIALOG) visibleAtInit = IsWindowVisible(dialog);
      return false;
    };
    wince::host::UserDoes([&](HWND dialog) {  // no WS_VISIBLE, yet shown and active
      EXPECT_TRUE(IsWindowVisible(dialog));
      EXPECT_EQ(GetActiveWindow(), dialog);
      GetWindowRect(dialog, &window);
      GetClientRect(dialog, &client);
      EndDialog(dialog, IDOK);
    });
    EXPECT_EQ(Run(OkCancel(WS_POPUP | WS_CAPTION | centre), owner_), IDOK);
    EXPECT_FALSE(visibleAtInit);
    EXPECT_EQ(GetActiveWindow(), owner_);
    EXPECT_EQ(client.right, MulDiv(100, base.cx, 4));
    EXPECT_EQ(client.bottom, MulDiv(60, base.cy, 8));
    EXPECT_EQ(window.right - window.left, client.right + 2);
    EXPECT_EQ(window.bottom - window.top, client.bottom + caption + 2);
    if (centre) {  // on the 240 x 320 screen
      EXPECT_EQ(window.left, (240 - (window.right - window.left)) / 2);
      EXPECT_EQ(window.top, (320 - (window.bottom - window.top)) / 2);
    } else {  // the client area at (10, 10) dialog units of the owner's client area
      EXPECT_EQ(window.left + 1, 30 + MulDiv(10, base.cx, 4));
      EXPECT_EQ(window.top + 1 + caption, 40 + MulDiv(10, base.cy, 8));
    }
  }
}

TEST_F(DialogManagerTest, DefDlgProcAnswersWithTheProceduresResultOrDwlpMsgResult) {
  TemplateBuilder t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 80, 40, u"", 8, u"System");
  t.Item({kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 4, 40, 14, 5, kButton, u"Go"});
  const LRESULT brush = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
  OnDialogMessage() = [&](HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message == WM_USER + 1) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1234);
    if (message == WM_USER + 1 || message == WM_USER + 2) result = TRUE;
    if (message == WM_CTLCOLORSTATIC) result = brush;
    return result != FALSE;
  };
  wince::host::UserDoes([&](HWND dialog) {
    EXPECT_EQ(SendMessageW(dialog, WM_USER + 1, 0, 0), 1234);  // TRUE: DWLP_MSGRESULT
    EXPECT_EQ(SendMessageW(dialog, WM_USER + 2, 0, 0), 0);     // which was cleared
    EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORSTATIC, 0, 0), brush);  // the answer itself
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELONG(5, DC_HASDEFID));
    EXPECT_NE(SendMessageW(dialog, WM_GETFONT, 0, 0), 0);
    PostQuitMessage(0);
  });
  EXPECT_EQ(Run(t), 5);  // a quit ends it with the default push button's id
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(DialogManagerTest, BadArgumentsAreRefused) {
  TemplateBuilder t = OkCancel();
  HWND gone = Child(screen_, 0, 0, 5, 5);
  DestroyWindow(gone);
  wince::host::UserClick(IDOK);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(DialogBoxIndirectParamW(Instance(), nullptr, owner_, RecordingDialogProc, 0), -1);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  SetLastError(0xdeadbeef);
  EXPECT_EQ(Run(t, gone), -1);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
  EXPECT_EQ(DialogBoxParamW(Instance(), MAKEINTRESOURCEW(6), gone, RecordingDialogProc, 0), 0);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(6), owner_, RecordingDialogProc, 0), -1);
  EXPECT_NE(GetLastError(), 0xdeadbeefu);
  EXPECT_EQ(wince::host::PendingUserActions(), 1u);  // no dialog ran
  EXPECT_TRUE(IsWindowEnabled(owner_));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(EndDialog(owner_, 1));  // no dialog
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetDlgItem(owner_, 77), nullptr);
  EXPECT_EQ(GetLastError(), 1421u);  // ERROR_CONTROL_ID_NOT_FOUND
}

TEST_F(DialogManagerTest, AMessageBoxOwnedByTheDialogLeavesItActive) {
  TemplateBuilder t = OkCancel();
  t.Item({kChild | BS_PUSHBUTTON, 4, 30, 40, 14, 3, kButton, u"Info"});
  OnDialogMessage() = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                         INT_PTR& result) {
    if (message == WM_COMMAND && LOWORD(wParam) == 3) MessageBoxW(dialog, u"Hi", u"Info", MB_OK);
    return EndOnButtons(dialog, message, wParam, lParam, result);
  };
  wince::host::UserClick(3);
  wince::host::UserDoes([](HWND dialog) { EXPECT_EQ(GetActiveWindow(), dialog); });
  wince::host::UserClick(IDOK);
  EXPECT_EQ(Run(t, owner_), IDOK);
  int deactivations = 0;
  for (const Message& m : Messages({WM_ACTIVATE})) deactivations += m.wParam == WA_INACTIVE;
  EXPECT_EQ(deactivations, 2);  // the owner's at the start, the dialog's at EndDialog
  ASSERT_EQ(wince::host::MessageBoxes().size(), 1u);
  EXPECT_EQ(wince::host::MessageBoxes()[0].owner, DialogIn(Log(), owner_));
}

}  // namespace
