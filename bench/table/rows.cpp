// The table's rows: see rows.h.
#include "bench/table/rows.h"

#include <windows.h>

#include "bench/table/bench_device.h"
#include "im/input_method.h"
#include "input/shift_state.h"
#include "render/paint_keyboard.h"
#include "wince/host/dialogs.h"
#include "wince/host/message_box.h"
#include "wince/host/windows.h"

namespace bench {
namespace {

bool loadFailed = false;

BenchDevice& Device() { return BenchDevice::Get(); }

bool NothingToPrepare() {
  loadFailed = false;
  return Device().problem().empty();
}

bool BundledKeyboardLoaded() {
  return Device().problem().empty() && Device().UseBundledKeyboard();
}

void Load(const char16_t* path) {
  if (!LoadKeyboardAt(path)) loadFailed = true;
}
void LoadBundled() { Load(kBundledKeyboard); }
void LoadManyContainer() { Load(kManyContainer); }
void LoadManyLoose() { Load(kManyLoose); }

std::string Loaded(int64_t, const PerOperation& cost) {
  if (loadFailed) return "the keyboard did not load";
  if (cost.reads == 0 || cost.allocations == 0) return "the load read or allocated nothing";
  return "";
}

// As a paint request reaches the window: the whole client area invalid, the
// paint message sent at once.
void FullPaint() {
  InvalidateRect(Device().panel(), nullptr, FALSE);
  UpdateWindow(Device().panel());
}

// As tap handling redraws an ordinary key after its tap.
void SingleKeyRedraw() {
  const tapora::KeyRef ref = Device().letter().ref;
  HDC dc = GetDC(Device().panel());
  tapora::DrawPanelKeys(dc, ref.panelIndex, &ref, tapora::AllKeys, false);
  ReleaseDC(Device().panel(), dc);
}

std::string Drew(int64_t, const PerOperation& cost) {
  return cost.gdiObjects > 0 ? "" : "nothing was drawn";
}

void Tap(const FoundKey& key) {
  wince::host::PenDown(Device().panel(), key.middle.x, key.middle.y);
  wince::host::PumpMessages();
  wince::host::PenUp(Device().panel(), key.middle.x, key.middle.y);
  wince::host::PumpMessages();
}
void TapLetter() { Tap(Device().letter()); }
void TapShift() { Tap(Device().shift()); }

std::string Typed(int64_t, const PerOperation& cost) {
  if (cost.callbacks == 0) return "the letter's taps sent nothing";
  if (tapora::ShiftState != 0) return "a letter's tap latched a modifier";
  return "";
}

// Taps alternate latching and unlatching, so an odd count ends latched.
std::string Toggled(int64_t operations, const PerOperation&) {
  const bool latched = (tapora::ShiftState & tapora::SS_SHIFT) != 0;
  return latched == (operations % 2 == 1) ? "" : "Shift taps did not toggle Shift";
}

bool DialogReady() {
  wince::host::ClearUserActions();
  wince::host::ClearMessageBoxes();
  return BundledKeyboardLoaded();
}

// Shown, then closed by the user with Cancel: nothing changes, nothing reloads.
void OptionsDialog() {
  wince::host::UserClick(IDCANCEL);
  Device().inputMethod()->UserOptionsDlg(Device().screen());
}

std::string DialogRan(int64_t, const PerOperation& cost) {
  if (wince::host::PendingUserActions() != 0) return "the dialog did not take the user's Cancel";
  if (!wince::host::MessageBoxes().empty()) return "the dialog showed a message box";
  if (cost.dcs == 0) return "the dialog was not shown";
  return "";
}

}  // namespace

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"load_bundled", "load: bundled keyboard.kbf", NothingToPrepare, LoadBundled, Loaded, 10},
      {"load_301_container", "load: 301-panel container", NothingToPrepare, LoadManyContainer,
       Loaded, 1, true},
      {"load_301_loose", "load: 301 panels as loose files", NothingToPrepare, LoadManyLoose,
       Loaded, 1},
      {"full_paint", "full paint (WM_PAINT)", BundledKeyboardLoaded, FullPaint, Drew, 10},
      {"single_key_redraw", "single-key redraw", BundledKeyboardLoaded, SingleKeyRedraw, Drew, 50},
      {"tap_ordinary", "tap: letter", BundledKeyboardLoaded, TapLetter, Typed, 20},
      {"tap_shift", "tap: Shift (latch / unlatch)", BundledKeyboardLoaded, TapShift, Toggled, 20},
      {"options_dialog", "options dialog: open, Cancel", DialogReady, OptionsDialog, DialogRan, 10},
  };
  return rows;
}

}  // namespace bench
