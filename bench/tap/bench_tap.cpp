// One complete tap on the bundled keyboard, as the device runs it: pen-down and
// pen-up queued on the input panel window and dispatched to its procedure, with
// the hit tests, redraws and callback calls they make. The clock never moves,
// so the repeat timer never fires.
//
//   BM_TapOrdinaryKey   a letter: pen-down draws it pressed, pen-up sends its
//                       character and draws the key alone again. It is the
//                       first letter in list order; hit testing walks the keys
//                       in that order, so a key further on costs more.
//   BM_TapLastLetter    the same for the last letter in list order: the
//                       longest walk of hit testing over the letters
//   BM_TapShift         a Shift key: pen-up toggles Shift and draws the whole
//                       keyboard. Taps alternate latching and unlatching (the
//                       unlatching pen-down finds the key shown down and draws
//                       nothing); one iteration is one tap, so the time is the
//                       mean of the two.
//   BM_DrawOrdinaryTap  the drawing alone of BM_TapOrdinaryKey's tap
//   BM_DrawShiftTap     the drawing alone of BM_TapShift's tap, alternating alike
//
// The share of a tap spent drawing is BM_DrawOrdinaryTap / BM_TapOrdinaryKey,
// and BM_DrawShiftTap / BM_TapShift; the rest is queueing and dispatch, hit
// testing, choosing the output and the callback. The machine's load moves
// these numbers: compare medians of repetitions run interleaved
// (--benchmark_repetitions=9 --benchmark_enable_random_interleaving=true).
//
// Run under the release preset: build/release/bench/bench_tap.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "bench/loaded_keys.h"
#include "im/input_method_state.h"
#include "im/panel_window.h"
#include "input/shift_state.h"
#include "language/keyboard_selection.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "render/paint_keyboard.h"
#include "wince/host/device.h"
#include "wince/host/windows.h"

namespace {

namespace fs = std::filesystem;

using bench::CountingCallback;
using bench::FoundKey;

// The device folder, the SIP window and the panel window on it, the bundled
// keyboard loaded, and the two keys to tap.
struct Panel {
  fs::path folder;
  HWND window = nullptr;
  bool loaded = false;
  CountingCallback callback;
  FoundKey letter;      // the first of type 33: text from its label
  FoundKey lastLetter;  // the last of type 33
  FoundKey shift;   // the first whose output is the Shift command

  Panel() {
    folder = fs::temp_directory_path() / ("bench_tap_" + std::to_string(getpid()));
    fs::create_directories(folder / "Keyboard");
    wince::host::SetDeviceFolder(folder);
    // Without the bundled keyboard nothing is loaded (so no failure message
    // either), and every benchmark fails rather than timing an empty panel.
    std::error_code ec;
    const bool copied =
        fs::copy_file(TAPORA_BUNDLED_KEYBOARD, folder / "Keyboard" / "keyboard.kbf", ec);
    HWND sip = wince::host::CreateScreen(240, 320);
    tapora::InputMethodState.callback = &callback;
    WCHAR path[MAX_PATH] = u"\\Keyboard\\keyboard.kbf";
    loaded = copied && tapora::LoadKeyboard(path, &tapora::KeyboardSelection.windowHeight,
                                            &tapora::KeyboardSelection.windowWidth);
    if (tapora::RegisterPanelWindowClass() != 0) window = tapora::CreatePanelWindow(sip);
    wince::host::PumpMessages();
    if (loaded) FindKeys();
  }
  ~Panel() {
    tapora::ResetKeyboard();
    wince::host::ResetWindows();
    tapora::InputMethodState.callback = nullptr;
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  void FindKeys() {
    bench::ForEachLoadedKey([this](const FoundKey& key, const BYTE* record) {
      if (tapora::ReadU8(record, tapora::KEY_TYPE) == 33) {
        if (!letter.handle) letter = key;
        lastLetter = key;
      }
      if (!shift.handle && bench::OutputOf(record) == u"[Shift-Down]") shift = key;
    });
  }

  void Tap(const FoundKey& key) {
    wince::host::PenDown(window, key.middle.x, key.middle.y);
    wince::host::PumpMessages();
    wince::host::PenUp(window, key.middle.x, key.middle.y);
    wince::host::PumpMessages();
  }

  // Leaves Shift unlatched for whatever runs next.
  void Unlatch() {
    if (tapora::ShiftState & tapora::SS_SHIFT) Tap(shift);
  }
};

// Set up once, on first use, as selecting the input method does.
Panel* Ready(benchmark::State& state) {
  static Panel panel;
  if (panel.loaded && panel.window && panel.letter.handle && panel.shift.handle) {
    panel.Unlatch();
    return &panel;
  }
  state.SkipWithError("no letter and Shift key loaded from " TAPORA_BUNDLED_KEYBOARD);
  return nullptr;
}

void CallsPerTap(benchmark::State& state, long calls) {
  state.counters["calls/tap"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}

void BM_TapOrdinaryKey(benchmark::State& state) {
  Panel* panel = Ready(state);
  if (!panel) return;
  const long before = panel->callback.calls;
  for (auto _ : state) panel->Tap(panel->letter);
  if (panel->callback.calls == before) state.SkipWithError("the letter's taps sent nothing");
  CallsPerTap(state, panel->callback.calls - before);
}
BENCHMARK(BM_TapOrdinaryKey)->Unit(benchmark::kMicrosecond);

void BM_TapLastLetter(benchmark::State& state) {
  Panel* panel = Ready(state);
  if (!panel) return;
  for (auto _ : state) panel->Tap(panel->lastLetter);
}
BENCHMARK(BM_TapLastLetter)->Unit(benchmark::kMicrosecond);

void BM_TapShift(benchmark::State& state) {
  Panel* panel = Ready(state);
  if (!panel) return;
  const long before = panel->callback.calls;
  for (auto _ : state) panel->Tap(panel->shift);
  // An odd count of taps ends latched.
  if (((tapora::ShiftState & tapora::SS_SHIFT) != 0) != (state.iterations() % 2 == 1))
    state.SkipWithError("Shift taps did not toggle Shift");
  CallsPerTap(state, panel->callback.calls - before);
  panel->Unlatch();
}
BENCHMARK(BM_TapShift)->Unit(benchmark::kMicrosecond);

// The pressed redraw keeps the down byte that hit testing set; the released
// one decides it afresh, as the tap's two redraws do.
void BM_DrawOrdinaryTap(benchmark::State& state) {
  Panel* panel = Ready(state);
  if (!panel) return;
  const FoundKey& key = panel->letter;
  HDC dc = GetDC(panel->window);
  for (auto _ : state) {
    tapora::SetKeyDown(key.handle, 1);
    tapora::DrawPanelKeys(dc, key.ref.panelIndex, &key.ref, tapora::AllKeys, true);
    tapora::SetKeyDown(key.handle, 0);
    tapora::DrawPanelKeys(dc, key.ref.panelIndex, &key.ref, tapora::AllKeys, false);
  }
  ReleaseDC(panel->window, dc);
}
BENCHMARK(BM_DrawOrdinaryTap)->Unit(benchmark::kMicrosecond);

// Latching: the key drawn pressed, then everything with Shift latched.
// Unlatching: everything with Shift off.
void BM_DrawShiftTap(benchmark::State& state) {
  Panel* panel = Ready(state);
  if (!panel) return;
  const FoundKey& key = panel->shift;
  HDC dc = GetDC(panel->window);
  for (auto _ : state) {
    if ((tapora::ShiftState & tapora::SS_SHIFT) == 0) {
      tapora::SetKeyDown(key.handle, 1);
      tapora::DrawPanelKeys(dc, key.ref.panelIndex, &key.ref, tapora::AllKeys, true);
      tapora::ShiftState |= tapora::SS_SHIFT;
    } else {
      tapora::ShiftState &= static_cast<WORD>(~tapora::SS_SHIFT);
    }
    tapora::DrawKeyboard(dc, tapora::AllKeys, false);
  }
  tapora::ShiftState &= static_cast<WORD>(~tapora::SS_SHIFT);
  tapora::DrawKeyboard(dc, tapora::AllKeys, false);
  ReleaseDC(panel->window, dc);
}
BENCHMARK(BM_DrawShiftTap)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
