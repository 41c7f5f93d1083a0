// Window classes: RegisterClassW, UnregisterClassW, GetClassInfoW and the
// class lookup of CreateWindowExW.
//
// A class belongs to the instance that registered it; its name compares
// without regard to case and may also be given as its atom (MAKEINTATOM).
// CreateWindowExW finds the class of its own instance first, then a class
// registered with CS_GLOBALCLASS; the system's classes (the dialog class and
// the controls) are registered, as global classes, the first time a name is
// not found otherwise.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/host/windows.h"
#include "wince/kernel/case_map.h"
#include "wince/kernel/fault_points.h"
#include "wince/user/window_internal.h"

namespace wince::win {
namespace {

// Local class atoms start where the platform's string atoms do.
constexpr ATOM kFirstAtom = 0xC000;

struct Classes {
  std::vector<std::shared_ptr<WindowClass>> list;
  ATOM nextAtom = kFirstAtom;
  bool systemClasses = false;  // registered since the last reset
};

Classes& State() {
  static Classes classes;
  return classes;
}

bool SameName(const std::u16string& a, LPCWSTR b) {
  size_t i = 0;
  for (; b[i] != 0; ++i) {
    if (i >= a.size() || text::ToUpper(a[i]) != text::ToUpper(b[i])) return false;
  }
  return i == a.size();
}

bool Matches(const WindowClass& c, LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return c.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return SameName(c.name, name);
}

std::vector<std::shared_ptr<WindowClass>>::iterator FindExact(LPCWSTR name, HINSTANCE instance) {
  auto& list = State().list;
  return std::find_if(list.begin(), list.end(), [&](const auto& c) {
    return c->instance == instance && Matches(*c, name);
  });
}

}  // namespace

std::shared_ptr<WindowClass> FindClassForWindow(LPCWSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  auto& list = State().list;
  if (auto it = FindExact(name, instance); it != list.end()) return *it;
  for (const auto& c : list) {
    if ((c->style & CS_GLOBALCLASS) && Matches(*c, name)) return c;
  }
  if (!State().systemClasses) {
    State().systemClasses = true;
    size_t before = list.size();
    RegisterSystemClasses();
    for (size_t i = before; i < list.size(); ++i) list[i]->system = true;
    return FindClassForWindow(name, instance);
  }
  return nullptr;
}

void ResetWindowClasses() { State() = Classes{}; }

}  // namespace wince::win

size_t wince::host::RegisteredClasses() {
  const auto& list = wince::win::State().list;
  return static_cast<size_t>(
      std::count_if(list.begin(), list.end(), [](const auto& c) { return !c->system; }));
}

using namespace wince::win;

extern "C" ATOM WINAPI RegisterClassW(CONST WNDCLASSW* wc) {
  if (wince::faults::ShouldFail(wince::host::Call::RegisterClassW)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (!wc || !wc->lpszClassName || wc->cbClsExtra < 0 || wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (IS_INTRESOURCE(wc->lpszClassName) || wc->lpszClassName[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& list = State().list;
  if (FindExact(wc->lpszClassName, wc->hInstance) != list.end()) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = std::u16string(wc->lpszClassName);
  c->atom = State().nextAtom++;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->clsExtra = wc->cbClsExtra;
  c->wndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->menuName = wc->lpszMenuName;
  list.push_back(c);
  return c->atom;
}

extern "C" BOOL WINAPI UnregisterClassW(LPCWSTR name, HINSTANCE instance) {
  auto& list = State().list;
  auto it = name ? FindExact(name, instance) : list.end();
  if (it == list.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if ((*it)->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  list.erase(it);
  return TRUE;
}

extern "C" BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR name, LPWNDCLASSW out) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto c = FindClassForWindow(name, instance);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  out->style = c->style;
  out->lpfnWndProc = c->proc;
  out->cbClsExtra = c->clsExtra;
  out->cbWndExtra = c->wndExtra;
  out->hInstance = instance;
  out->hIcon = c->icon;
  out->hCursor = c->cursor;
  out->hbrBackground = c->background;
  out->lpszMenuName = c->menuName;
  // The name the caller gave, as on the platform (which returns its own copy).
  out->lpszClassName = name;
  return TRUE;
}
