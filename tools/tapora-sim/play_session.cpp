// A play session (see play_session.h).
#include "tools/tapora-sim/play_session.h"

#include <algorithm>
#include <iostream>

#include "tools/tapora-sim/play_field.h"
#include "wince/host/dialogs.h"
#include "wince/host/windows.h"

namespace sim::play {
namespace {

bool IsDialog(HWND hwnd) { return GetWindowLongPtrW(hwnd, DWLP_DLGPROC) != 0; }

Pixels PanelPicture(HWND panel) {
  Pixels picture;
  const auto view = wince::host::ViewOfWindow(panel);
  const auto area = wince::host::ClientAreaOnSurface(panel);
  if (!view || !area || area->right <= area->left || area->bottom <= area->top) return picture;
  picture.width = area->right - area->left;
  picture.height = area->bottom - area->top;
  for (LONG y = area->top; y < area->bottom; ++y)
    for (LONG x = area->left; x < area->right; ++x) picture.rgb.push_back(view->At(x, y));
  return picture;
}

}  // namespace

Session::Session(StandIn& standIn, int scale) : standIn_(standIn), scale_(scale) {}

Session::~Session() { wince::host::SetIdleHandler(nullptr); }

HWND Session::Panel() const { return standIn_.Panel(); }

Layout Session::CurrentLayout() const {
  HWND panel = Panel();
  int width = 0, height = 0;
  if (panel != nullptr) {
    if (const auto area = wince::host::ClientAreaOnSurface(panel)) {
      width = std::max<int>(area->right - area->left, 0);
      height = std::max<int>(area->bottom - area->top, 0);
    }
  }
  std::optional<Box> dialogSize;
  if (dialog_ && IsWindow(dialog_->dialog())) dialogSize = dialog_->Size();
  return LayOut(width, height, scale_, dialogSize);
}

Pixels Session::Frame() const {
  const Layout layout = CurrentLayout();
  HWND panel = Panel();
  const Pixels panelPicture = panel != nullptr ? PanelPicture(panel) : Pixels{};
  const Pixels field = DrawTextField(standIn_.field(), layout.field.width, layout.field.height);
  Pixels dialogPicture;
  if (layout.dialog) dialogPicture = dialog_->Picture();
  return Compose(layout, panel != nullptr ? &panelPicture : nullptr, field,
                 layout.dialog ? &dialogPicture : nullptr);
}

void Session::PenCommand(CommandKind kind, int x, int y) {
  Command command;
  command.kind = kind;
  command.x = x;
  command.y = y;
  standIn_.Run(command);
}

void Session::PointerDown(int x, int y) {
  if (pen_ != Pen::Up) return;
  const Layout layout = CurrentLayout();
  const Region region = RegionAt(layout, x, y);
  if (dialog_) {
    if (region == Region::Dialog) {
      const Point at = Relative(layout, *layout.dialog, x, y);
      pen_ = Pen::Dialog;
      dialog_->PenDown(at.x, at.y);
    } else if (region == Region::Field) {
      LeaveDialog();
    }
    return;
  }
  if (region != Region::Panel) return;
  const Point at = Relative(layout, layout.panel, x, y);
  pen_ = Pen::Panel;
  PenCommand(CommandKind::Down, at.x, at.y);
}

void Session::PointerMove(int x, int y) {
  const Layout layout = CurrentLayout();
  if (pen_ == Pen::Panel) {
    const Point at = Relative(layout, layout.panel, x, y);
    PenCommand(CommandKind::Move, at.x, at.y);
  } else if (pen_ == Pen::Dialog && dialog_ && layout.dialog) {
    const Point at = Relative(layout, *layout.dialog, x, y);
    dialog_->PenMove(at.x, at.y);
  }
}

void Session::PointerUp(int x, int y) {
  const Layout layout = CurrentLayout();
  if (pen_ == Pen::Panel) {
    const Point at = Relative(layout, layout.panel, x, y);
    PenCommand(CommandKind::Up, at.x, at.y);
  } else if (pen_ == Pen::Dialog && dialog_ && layout.dialog) {
    const Point at = Relative(layout, *layout.dialog, x, y);
    dialog_->PenUp(at.x, at.y);
  }
  pen_ = Pen::Up;
}

void Session::Elapse(DWORD milliseconds) {
  if (dialog_ || milliseconds == 0) return;
  Command command;
  command.kind = CommandKind::Wait;
  command.ms = static_cast<long>(milliseconds);
  standIn_.Run(command);
}

void Session::NoticeDialog() {
  if (dialog_ && IsWindow(dialog_->dialog())) return;
  HWND active = GetActiveWindow();
  if (active == nullptr || !IsDialog(active)) return;
  dialog_.emplace(active);
  const Layout layout = CurrentLayout();
  const Box client = dialog_->ClientArea();
  // Where a person (or a test) finds the dialog's controls in the window.
  std::cout << "options dialog: client area " << client.width * scale_ << " by "
            << client.height * scale_ << " at (" << (layout.dialog->left + client.left) * scale_
            << ", " << (layout.dialog->top + client.top) * scale_ << ") in the window\n"
            << std::flush;
}

void Session::RunOptions(const std::function<void()>& waitForUser) {
  if (pen_ != Pen::Up || dialog_) return;
  leaving_ = false;
  wince::host::SetIdleHandler([this, &waitForUser] {
    NoticeDialog();
    // Once the person has gone, the queued deactivation ends the dialog;
    // until then the loop only asks again.
    if (!leaving_) waitForUser();
    return true;
  });
  Command command;
  command.kind = CommandKind::Options;
  standIn_.Run(command);
  wince::host::SetIdleHandler(nullptr);
  dialog_.reset();
  pen_ = Pen::Up;
}

void Session::LeaveDialog() {
  if (!dialog_ || leaving_) return;
  leaving_ = true;
  wince::host::UserActivateAnotherWindow();
}

}  // namespace sim::play
