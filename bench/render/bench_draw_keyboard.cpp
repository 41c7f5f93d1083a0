// How long drawing takes, and where the time goes: a full DrawKeyboard of the
// bundled keyboard (as a paint, and as the redraw after a Shift tap), a
// single-key redraw, and the pieces every key is drawn from: the bevel with
// its brush and three pens, the label's measuring and drawing, and a stock
// face with its library load.
//
// Run under the release preset: build/release/bench/bench_draw_keyboard.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <unistd.h>
#include <vector>

#include "im/input_method_state.h"
#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "render/key_face.h"
#include "render/key_label.h"
#include "render/paint_keyboard.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "wince/host/device.h"

namespace {

namespace fs = std::filesystem;

struct PlacedKey {
  DWORD handle;
  RECT rect;
  BYTE record[tapora::KEY_RECORD_SIZE];
  tapora::KeyRef ref;
};

// A stand-in when the bundled keyboard has not been built: four rows of
// 10 letter keys with a few UTF-16 special keys, 240 pixels wide.
std::vector<uint8_t> GeneratedKeyboard() {
  kbf::Keyboard keyboard;
  std::vector<std::vector<kbf::KeyRecord>> rows;
  const char* letters[] = {"qwertyuiop", "asdfghjkl;", "zxcvbnm,./"};
  for (const char* row : letters) {
    std::vector<kbf::KeyRecord> keys;
    for (const char* c = row; *c; ++c) keys.push_back(kbf::MakeKey(23, 20, 33, std::u16string(1, *c)));
    rows.push_back(keys);
  }
  rows.push_back({kbf::MakeKey(40, 20, 18, u"Shift", u"[Shift-Down]"),
                  kbf::MakeKey(40, 20, 18, u"Caps", u"[Caps]"), kbf::MakeKey(100, 20, 5, u""),
                  kbf::MakeKey(30, 20, 18, u"{NQXU", u"[Up]"), kbf::MakeKey(28, 20, 18, u"Ent")});
  kbf::AddPanelOfRows(keyboard, 0, 0, 238, 80, rows);
  return kbf::WriteContainer(kbf::Members(keyboard));
}

class Fixture {
 public:
  Fixture() {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() /
              ("bench_draw_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(folder_ / "Keyboard");
    fs::create_directories(folder_ / "Windows");
    wince::host::SetDeviceFolder(folder_);

    const fs::path device = TAPORA_DEVICE_DIR;
    const fs::path bundled = device / "Program Files" / "Tapora SIP" / "Keyboard" / "keyboard.kbf";
    std::error_code ec;
    if (fs::is_regular_file(bundled, ec)) {
      fs::copy_file(bundled, folder_ / "Keyboard" / "keyboard.kbf", ec);
    } else {
      std::cerr << "bench_draw_keyboard: no bundled keyboard, drawing a generated one\n";
      kbf::WriteFileBytes(folder_ / "Keyboard" / "keyboard.kbf", GeneratedKeyboard());
    }
    // The input method's module is stood in for by a copy of the stock library
    // under its name, so that every stock face really loads STOCK.DLL beside
    // it, as on a device.
    if (fs::is_regular_file(device / "Windows" / "STOCK.DLL", ec)) {
      fs::copy_file(device / "Windows" / "STOCK.DLL", folder_ / "Windows" / "STOCK.DLL", ec);
      fs::copy_file(device / "Windows" / "STOCK.DLL", folder_ / "Windows" / "tapora.dll", ec);
      module_ = LoadLibraryW(u"\\Windows\\tapora.dll");
    } else {
      std::cerr << "bench_draw_keyboard: no STOCK.DLL, stock keys draw no face\n";
    }
    tapora::InputMethodState.resourceInstance = module_;

    WCHAR path[MAX_PATH] = u"\\Keyboard\\keyboard.kbf";
    LONG height = 0, width = 0;
    loaded_ = tapora::LoadKeyboard(path, &height, &width);
    width_ = width;
    height_ = height;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(width_, height_, 1, 32, nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    CollectKeys();
  }
  ~Fixture() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    tapora::ResetKeyboard();
    tapora::InputMethodState.resourceInstance = nullptr;
    if (module_) FreeLibrary(module_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  bool loaded() const { return loaded_; }
  HDC dc() const { return dc_; }
  const std::vector<PlacedKey>& keys() const { return keys_; }
  // A letter key, the common case of a tap.
  const PlacedKey& Letter() const {
    for (const PlacedKey& k : keys_) {
      const BYTE type = k.record[tapora::KEY_TYPE];
      if (type == 1 || type == 33) return k;
    }
    return keys_.front();
  }

 private:
  void CollectKeys() {
    for (DWORD p = 0; p < tapora::PanelCount(); ++p) {
      const DWORD panel = tapora::PanelHandle(p);
      tapora::PanelPlace place;
      if (panel == 0 || !tapora::ReadPanelPlace(panel, &place)) break;
      for (DWORD k = 0; k < place.keyCount; ++k) {
        tapora::KeyEntry entry;
        PlacedKey key = {};
        if (!tapora::ReadKeyEntry(panel, k, &entry) || entry.keyHandle == 0 ||
            !tapora::ReadKeyRecord(entry.keyHandle, key.record))
          continue;
        key.handle = entry.keyHandle;
        key.rect.left = place.left + entry.x;
        key.rect.top = place.top + entry.y;
        key.rect.right = key.rect.left + tapora::ReadU16(key.record, tapora::KEY_WIDTH);
        key.rect.bottom = key.rect.top + tapora::ReadU16(key.record, tapora::KEY_HEIGHT);
        key.ref = {static_cast<LONG>(p), static_cast<LONG>(k)};
        keys_.push_back(key);
      }
    }
  }

  fs::path folder_;
  HMODULE module_ = nullptr;
  bool loaded_ = false;
  int width_ = 0;
  int height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::vector<PlacedKey> keys_;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

bool Ready(benchmark::State& state) {
  if (Shared().loaded() && !Shared().keys().empty()) return true;
  state.SkipWithError("the keyboard did not load");
  return false;
}

void BM_DrawKeyboard(benchmark::State& state) {
  if (!Ready(state)) return;
  for (auto _ : state) tapora::DrawKeyboard(Shared().dc(), tapora::AllKeys, true);
  state.counters["keys"] = static_cast<double>(Shared().keys().size());
}
BENCHMARK(BM_DrawKeyboard)->Unit(benchmark::kMicrosecond);

// After a Shift tap: latched modifiers re-evaluated, every label shifted.
void BM_DrawKeyboardShiftLatched(benchmark::State& state) {
  if (!Ready(state)) return;
  tapora::ShiftState = tapora::SS_SHIFT;
  for (auto _ : state) tapora::DrawKeyboard(Shared().dc(), tapora::AllKeys, false);
  tapora::ShiftState = 0;
  tapora::DrawKeyboard(Shared().dc(), tapora::AllKeys, false);
}
BENCHMARK(BM_DrawKeyboardShiftLatched)->Unit(benchmark::kMicrosecond);

// The redraw after an ordinary tap: the key alone.
void BM_SingleKeyRedraw(benchmark::State& state) {
  if (!Ready(state)) return;
  const tapora::KeyRef ref = Shared().Letter().ref;
  for (auto _ : state) tapora::DrawPanelKeys(Shared().dc(), ref.panelIndex, &ref, tapora::AllKeys, false);
}
BENCHMARK(BM_SingleKeyRedraw)->Unit(benchmark::kMicrosecond);

// Every key's bevelled face alone: a brush, three pens and four polylines each.
void BM_AllBevelFaces(benchmark::State& state) {
  if (!Ready(state)) return;
  for (auto _ : state) {
    for (const PlacedKey& k : Shared().keys()) {
      tapora::CurrentColours = {k.record[tapora::KEY_FACE_COLOUR], k.record[tapora::KEY_TEXT_COLOUR],
                                k.record[tapora::KEY_LIGHT_EDGE_COLOUR],
                                k.record[tapora::KEY_SHADOW_EDGE_COLOUR]};
      tapora::DrawKeyFace(Shared().dc(), tapora::FaceStyle::Raised, &k.rect);
    }
  }
}
BENCHMARK(BM_AllBevelFaces)->Unit(benchmark::kMicrosecond);

// The drawing objects of one bevelled key, created and deleted, nothing drawn.
void BM_PerKeyObjects(benchmark::State& state) {
  for (auto _ : state) {
    HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
    HPEN a = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HPEN b = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN c = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    DeleteObject(brush);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(c);
  }
}
BENCHMARK(BM_PerKeyObjects);

// Every key's label alone: choosing, fitting (one extent per try) and drawing.
void BM_AllLabels(benchmark::State& state) {
  if (!Ready(state)) return;
  SetBkMode(Shared().dc(), TRANSPARENT);
  WCHAR primary[tapora::LABEL_UNITS];
  WCHAR secondary[tapora::LABEL_UNITS];
  for (auto _ : state) {
    for (const PlacedKey& k : Shared().keys()) {
      tapora::PrepareKeyLabels(k.record, primary, secondary);
      const BYTE type = k.record[tapora::KEY_TYPE];
      const bool capsAffected = type == 33 || type == 34 || type == 37 || type == 49 ||
                                type == 50 || type == 53;
      tapora::DrawKeyLabel(Shared().dc(), primary, secondary, &k.rect, capsAffected, k.record);
    }
  }
}
BENCHMARK(BM_AllLabels)->Unit(benchmark::kMicrosecond);

void BM_TextExtent(benchmark::State& state) {
  SIZE size;
  for (auto _ : state) {
    GetTextExtentExPointW(Shared().dc(), u"Shift", 5, 0, nullptr, nullptr, &size);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_TextExtent);

void BM_DrawText(benchmark::State& state) {
  RECT r = {0, 0, 40, 20};
  SetBkMode(Shared().dc(), TRANSPARENT);
  for (auto _ : state) DrawTextW(Shared().dc(), u"Shift", 5, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
BENCHMARK(BM_DrawText);

// One stock face: library load, bitmap load, stretch, release.
void BM_StockFace(benchmark::State& state) {
  const RECT r = {0, 0, 100, 20};
  for (auto _ : state) tapora::DrawStockFace(Shared().dc(), tapora::FaceStyle::StockUp, &r);
}
BENCHMARK(BM_StockFace);

// Of which: finding and loading the library, and freeing it.
void BM_StockLibraryLoad(benchmark::State& state) {
  WCHAR path[MAX_PATH];
  for (auto _ : state) {
    HMODULE library = LoadLibraryW(tapora::StockLibraryPath(path));
    if (library) FreeLibrary(library);
  }
}
BENCHMARK(BM_StockLibraryLoad);

}  // namespace

BENCHMARK_MAIN();
