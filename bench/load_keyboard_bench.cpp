// How long LoadKeyboard takes, and how many platform calls one load makes:
// the bundled keyboard (or, before it is built, a generated keyboard of the
// same shape), and a generated keyboard of 301 panels, as a container and as
// loose files. Each iteration is one whole load, the previous keyboard's
// release included.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>

#include "bench/many_panel_keyboard.h"
#include "layout/load_keyboard.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "wince/host/device.h"
#include "wince/host/faults.h"
#include "wince/host/message_box.h"

namespace {

using wince::host::Call;

// A keyboard the size of a typical layout: 5 rows of 12 keys on one panel,
// and a small second panel.
kbf::Keyboard TypicalKeyboard() {
  kbf::Keyboard keyboard;
  std::vector<std::vector<kbf::KeyRecord>> rows;
  for (int r = 0; r < 5; ++r) {
    std::vector<kbf::KeyRecord> row;
    for (int k = 0; k < 12; ++k) {
      char16_t label[2] = {static_cast<char16_t>(u'a' + (r * 12 + k) % 26), 0};
      row.push_back(kbf::MakeKey(19, 16, 1, label, label));
    }
    rows.push_back(row);
  }
  kbf::AddPanelOfRows(keyboard, 0, 0, 236, 80, rows);
  kbf::AddPanelOfRows(keyboard, 0, 80, 236, 16,
                      {{kbf::MakeKey(36, 16, 18, u"Shift", u"[Shift-Down]"),
                        kbf::MakeKey(120, 16, 1, u" ", u" ")}});
  return keyboard;
}

struct Fixture {
  Fixture() {
    char pattern[] = "/tmp/tapora_bench_XXXXXX";
    if (mkdtemp(pattern) == nullptr) abort();
    device = pattern;
    wince::host::SetDeviceFolder(device);
    std::filesystem::path bundled = TAPORA_BUNDLED_KEYBOARD;
    std::error_code error;
    if (std::filesystem::exists(bundled, error)) {
      std::filesystem::create_directories(device / "bundled");
      std::filesystem::copy_file(bundled, device / "bundled" / "keyboard.kbf");
      bundledIsReal = true;
    } else {
      kbf::WriteFileBytes(device / "bundled" / "keyboard.kbf",
                          kbf::WriteContainer(kbf::Members(TypicalKeyboard())));
    }
    std::vector<kbf::Member> many = kbf::Members(bench::ManyPanelKeyboard());
    kbf::WriteFileBytes(device / "many" / "many.kbf", kbf::WriteContainer(many));
    kbf::WriteLooseFolder(device / "loose", many);
  }
  ~Fixture() {
    tapora::ResetKeyboard();
    std::error_code ignored;
    std::filesystem::remove_all(device, ignored);
  }
  std::filesystem::path device;
  bool bundledIsReal = false;
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void LoadLoop(benchmark::State& state, const char16_t* devicePath) {
  TheFixture();
  wince::host::ResetCallCounts();
  int64_t loads = 0;
  for (auto _ : state) {
    WCHAR path[260] = {};
    for (int i = 0; devicePath[i] != 0; ++i) path[i] = devicePath[i];
    LONG height = 10;
    LONG width = 10;
    if (!tapora::LoadKeyboard(path, &height, &width)) {
      state.SkipWithError("the keyboard did not load");
      break;
    }
    benchmark::DoNotOptimize(height);
    ++loads;
  }
  if (loads == 0) return;
  auto perLoad = [&](Call call) {
    return static_cast<double>(wince::host::CallCount(call)) / static_cast<double>(loads);
  };
  state.counters["ReadFile/load"] = perLoad(Call::ReadFile);
  state.counters["LocalAlloc/load"] = perLoad(Call::LocalAlloc);
  state.counters["LocalReAlloc/load"] = perLoad(Call::LocalReAlloc);
  wince::host::ClearMessageBoxes();
}

void BM_LoadBundledKeyboard(benchmark::State& state) {
  state.SetLabel(TheFixture().bundledIsReal ? "bundled keyboard.kbf" : "generated, bundled not built");
  LoadLoop(state, u"\\bundled\\keyboard.kbf");
}

void BM_Load301PanelContainer(benchmark::State& state) { LoadLoop(state, u"\\many\\many.kbf"); }

void BM_Load301PanelLoose(benchmark::State& state) { LoadLoop(state, u"\\loose\\PNL00001.PNL"); }

BENCHMARK(BM_LoadBundledKeyboard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load301PanelContainer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load301PanelLoose)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
