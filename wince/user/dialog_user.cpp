// The modal loop and the user a test puts in front of it (the hooks of
// wince/host/dialogs.h).
//
// The loop, as the platform's: it takes and dispatches every waiting
// message (a WM_QUIT is posted again and ends the loop); the first time
// nothing waits (or a WM_TIMER comes first) it shows the dialog. Where the
// platform would then wait for the user, the host runs the next queued user
// action, or asks the host's idle handler; with neither, nothing can happen
// any more, so the loop fails loudly and ends the dialog with -1. After the
// loop the dialog is destroyed and its owner enabled again, also when the
// procedure destroyed the dialog itself instead of calling EndDialog (then
// the result is 0, as on the platform).
#include <cstdio>
#include <deque>
#include <functional>
#include <string>

#include <windows.h>

#include "wince/host/dialogs.h"
#include "wince/host/surface.h"
#include "wince/host/windows.h"
#include "wince/kernel/unicode.h"
#include "wince/user/controls.h"
#include "wince/user/dialog_internal.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

// An action answers false when it could not be done; it has written why.
using Action = std::function<bool(HWND dialog)>;

std::deque<Action>& Actions() {
  static std::deque<Action> actions;
  return actions;
}

std::string Title(HWND dialog) {
  Window* w = Lookup(dialog);
  return w ? text::EncodeUtf8(w->text) : std::string();
}

bool Failed(HWND dialog, const std::string& what) {
  std::fprintf(stderr, "wince: dialog \"%s\": %s; the dialog ends with -1\n",
               Title(dialog).c_str(), what.c_str());
  return false;
}

HWND Control(HWND dialog, int id, const char* action) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) Failed(dialog, std::string(action) + ": no control has the id " + std::to_string(id));
  return control;
}

void End(HWND dialog, DialogInfo* info) {
  if (IsWindow(dialog) && info && !info->ended) EndDialog(dialog, -1);
}

}  // namespace

bool RunUserAction(HWND dialog) {
  if (Actions().empty()) return false;
  Action action = std::move(Actions().front());
  Actions().pop_front();
  if (!action(dialog)) {
    Actions().clear();
    End(dialog, DialogOf(dialog));
  }
  return true;
}

INT_PTR RunModalLoop(HWND dialog, HWND disabledOwner) {
  bool firstEmpty = true;
  INT_PTR result = 0;
  for (DialogInfo* info = DialogOf(dialog); info && !info->ended; info = DialogOf(dialog)) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      DispatchMessageW(&msg);
      if (firstEmpty && msg.message == WM_TIMER && IsWindow(dialog)) {
        ShowDialog(dialog);
        firstEmpty = false;
      }
      continue;
    }
    if (firstEmpty) {
      ShowDialog(dialog);
      firstEmpty = false;
      continue;
    }
    if (RunUserAction(dialog)) continue;
    if (IdleHandler() && IdleHandler()()) continue;
    Failed(dialog, "it waits for a user, but no user action is queued (wince/host/dialogs.h)");
    End(dialog, info);
  }
  if (DialogInfo* info = DialogOf(dialog)) result = info->result;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (disabledOwner && IsWindow(disabledOwner) && !IsWindowEnabled(disabledOwner))
    EnableWindow(disabledOwner, TRUE);
  return result;
}

}  // namespace wince::win

namespace wince::host {

using win::Control;

void UserClick(int controlId) {
  win::Actions().push_back([controlId](HWND dialog) {
    HWND control = Control(dialog, controlId, "UserClick");
    if (!control) return false;
    RECT r;
    GetWindowRect(control, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &centre);
    PenDown(dialog, centre.x, centre.y);
    PenUp(dialog, centre.x, centre.y);
    return true;
  });
}

void UserChoose(int controlId, std::u16string text) {
  win::Actions().push_back([controlId, text = std::move(text)](HWND dialog) {
    HWND combo = Control(dialog, controlId, "UserChoose");
    if (!combo) return false;
    std::vector<std::u16string> items = ComboItems(combo);
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] != text) continue;
      win::ChooseComboItem(combo, static_cast<int>(i));
      return true;
    }
    return win::Failed(dialog, "UserChoose: the combo box " + std::to_string(controlId) +
                                   " has no item \"" + text::EncodeUtf8(text) + "\"");
  });
}

void UserActivateAnotherWindow() {
  win::Actions().push_back([](HWND) {
    win::ActivateOtherApplication();
    return true;
  });
}

void UserDoes(std::function<void(HWND dialog)> step) {
  win::Actions().push_back([step = std::move(step)](HWND dialog) {
    step(dialog);
    return true;
  });
}

void ClearUserActions() { win::Actions().clear(); }
size_t PendingUserActions() { return win::Actions().size(); }

std::vector<std::u16string> ComboItems(HWND combo) {
  std::vector<std::u16string> items;
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::u16string item(static_cast<size_t>(length) + 1, u'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(length));
    items.push_back(std::move(item));
  }
  return items;
}

bool SaveWindowWithFramePng(HWND hwnd, const std::filesystem::path& file) {
  auto view = ViewOfWindow(hwnd);
  win::Window* w = win::Lookup(hwnd);
  if (!view || !w) return false;
  return SavePng(*view, win::WindowClipOnSurface(*w), file);
}

}  // namespace wince::host
