// What the tap benchmarks share: a callback that only counts what reaches it
// (so a tap that sent nothing shows), and the loaded keyboard's keys with the
// points in their middles.
#pragma once

#include <windows.h>

#include <string>

#include "im/sip_interfaces.h"
#include "layout/keyboard_memory.h"
#include "layout/records.h"
#include "render/paint_keyboard.h"

namespace bench {

class CountingCallback : public IIMCallback {
 public:
  long calls = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO*) override { return Count(); }
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE, DWORD) override { return Count(); }
  HRESULT STDMETHODCALLTYPE SendCharEvents(UINT, UINT, UINT, UINT*, UINT*) override {
    return Count();
  }
  HRESULT STDMETHODCALLTYPE SendString(BSTR, DWORD) override { return Count(); }

 private:
  HRESULT Count() {
    calls += 1;
    return S_OK;
  }
};

// A key of the loaded keyboard and the point in its middle.
struct FoundKey {
  DWORD handle = 0;
  tapora::KeyRef ref = {};
  POINT middle = {};
};

// The output field holds up to 16 units, terminated only when shorter.
inline std::u16string OutputOf(const BYTE* record) {
  std::u16string output;
  for (DWORD i = 0; i < tapora::KEY_OUTPUT_UNITS; ++i) {
    const WORD unit = tapora::ReadU16(record, tapora::KEY_OUTPUT + 2 * i);
    if (unit == 0) break;
    output += static_cast<char16_t>(unit);
  }
  return output;
}

// Calls visit(key, record) for every key of the loaded keyboard, in panel and
// list order.
template <class Visit>
void ForEachLoadedKey(Visit visit) {
  for (DWORD p = 0; p < tapora::PanelCount(); ++p) {
    const DWORD panel = tapora::PanelHandle(p);
    tapora::PanelPlace place;
    if (panel == 0 || !tapora::ReadPanelPlace(panel, &place)) break;
    for (DWORD k = 0; k < place.keyCount; ++k) {
      tapora::KeyEntry entry;
      BYTE record[tapora::KEY_RECORD_SIZE];
      if (!tapora::ReadKeyEntry(panel, k, &entry) || entry.keyHandle == 0 ||
          !tapora::ReadKeyRecord(entry.keyHandle, record))
        continue;
      const FoundKey key = {
          entry.keyHandle,
          {static_cast<LONG>(p), static_cast<LONG>(k)},
          {place.left + entry.x + tapora::ReadU16(record, tapora::KEY_WIDTH) / 2,
           place.top + entry.y + tapora::ReadU16(record, tapora::KEY_HEIGHT) / 2}};
      visit(key, record);
    }
  }
}

}  // namespace bench
