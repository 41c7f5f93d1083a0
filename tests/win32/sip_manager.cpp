// The SIP manager's part under Wine (see sip_manager.h).
#include "tests/win32/sip_manager.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace wine_test {

namespace {

constexpr wchar_t SIP_CLASS[] = L"SipManagerWindow";
constexpr wchar_t OPTIONS_TITLE[] = L"Tapora Input Panel";
constexpr UINT_PTR SCRIPT_TIMER = 0x5157;

std::string Utf8(const wchar_t* text, int length = -1) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();
  return out;
}

std::string WindowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return Utf8(text);
}

bool IsDialog(HWND window) {
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  return lstrcmpW(name, L"#32770") == 0;
}

// A message box's text is its one static control with text (the other static
// is the icon).
BOOL CALLBACK FindBoxText(HWND child, LPARAM found) {
  wchar_t name[32] = L"";
  GetClassNameW(child, name, 32);
  if (lstrcmpiW(name, L"Static") != 0) return TRUE;
  const std::string text = WindowText(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::string*>(found) = text;
  return FALSE;
}

MessageBoxCatcher* Catcher = nullptr;

void CALLBACK RunDialogScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (Catcher == nullptr || Catcher->dialog == nullptr || !Catcher->dialogScript) return;
  auto script = std::move(Catcher->dialogScript);
  Catcher->dialogScript = nullptr;
  script(Catcher->dialog);
}

LRESULT CALLBACK CatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && Catcher != nullptr) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (IsDialog(window)) {
      const std::string caption = WindowText(window);
      if (caption == Utf8(OPTIONS_TITLE)) {
        if (Catcher->dialog != window) {
          Catcher->dialog = window;
          // The script runs from the dialog's own modal loop, after
          // WM_INITDIALOG has filled the controls.
          if (Catcher->dialogScript) SetTimer(nullptr, SCRIPT_TIMER, 0, RunDialogScript);
        }
      } else {
        std::string text;
        EnumChildWindows(window, FindBoxText, reinterpret_cast<LPARAM>(&text));
        Catcher->boxes.push_back(caption + ": " + text);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

CLSID InputMethodClsid() {
  CLSID clsid{};
  CLSIDFromString(const_cast<LPOLESTR>(CLSID_TEXT), &clsid);
  return clsid;
}

std::wstring FromHost(const std::string& path) {
  std::wstring out = L"Z:";
  const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), size);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return out + wide;
}

std::wstring ModulesFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

bool InstallProduct() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path modules(ModulesFolder());
  const auto overwrite = fs::copy_options::overwrite_existing;
  fs::copy_file(modules / L"tapora.dll", L"C:\\Windows\\tapora.dll", overwrite, error);
  if (error) return false;
  fs::copy_file(modules / L"STOCK.DLL", L"C:\\Windows\\STOCK.DLL", overwrite, error);
  if (error) return false;
  const fs::path tree(L"C:\\Program Files\\Tapora SIP");
  fs::remove_all(tree, error);
  fs::create_directories(tree, error);
  fs::copy(fs::path(FromHost(TAPORA_LANGUAGE_TREE)), tree,
           fs::copy_options::recursive | overwrite, error);
  return !error;
}

std::wstring ReadClassesValue(const std::wstring& sub, bool* found) {
  wchar_t value[512] = L"";
  DWORD size = sizeof value;
  DWORD type = 0;
  HKEY key;
  *found = false;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
          ERROR_SUCCESS &&
      type == REG_SZ) {
    *found = true;
  }
  RegCloseKey(key);
  return value;
}

bool ClassesKeyExists(const std::wstring& sub) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

MessageBoxCatcher::MessageBoxCatcher() {
  Catcher = this;
  hook_ = SetWindowsHookExW(WH_CBT, CatchBoxes, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  Catcher = nullptr;
}

HRESULT CallExport(HMODULE module, const char* name) {
  using Export = HRESULT(STDAPICALLTYPE*)();
  if (module == nullptr) return E_NOTIMPL;
  auto function =
      reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr ? function() : E_NOTIMPL;
}

std::vector<std::string> ExportNames(const std::wstring& path) {
  std::vector<std::string> names;
  HMODULE image = LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (image == nullptr) return names;
  const BYTE* base = reinterpret_cast<const BYTE*>(image);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress != 0) {
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
      names.emplace_back(reinterpret_cast<const char*>(base + nameTable[i]));
    }
  }
  FreeLibrary(image);
  return names;
}

HRESULT RegisterInstalledServer() {
  HMODULE library = LoadLibraryW(L"C:\\Windows\\tapora.dll");
  const HRESULT result = CallExport(library, "DllRegisterServer");
  if (library != nullptr) FreeLibrary(library);
  return result;
}

std::vector<std::string> TakeSipCalls() {
  using Take = void(WINAPI*)(char*, DWORD);
  std::vector<std::string> lines;
  HMODULE coredll = GetModuleHandleW(L"coredll.dll");
  if (coredll == nullptr) return lines;
  auto take = reinterpret_cast<Take>(
      reinterpret_cast<void*>(GetProcAddress(coredll, "StandInTakeCalls")));
  if (take == nullptr) return lines;
  char text[4096];
  take(text, sizeof text);
  std::string all(text);
  for (size_t at = 0; at < all.size();) {
    const size_t end = all.find('\n', at);
    lines.push_back(all.substr(at, end - at));
    at = end == std::string::npos ? all.size() : end + 1;
  }
  return lines;
}

SelectedInputMethod::SelectedInputMethod() {
  WNDCLASSW sipClass{};
  sipClass.lpfnWndProc = SipWindowProc;
  sipClass.hInstance = GetModuleHandleW(nullptr);
  sipClass.lpszClassName = SIP_CLASS;
  RegisterClassW(&sipClass);
  sip = CreateWindowExW(0, SIP_CLASS, L"SIP", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);

  bool found = false;
  const std::wstring server =
      ReadClassesValue(std::wstring(L"CLSID\\") + CLSID_TEXT + L"\\InprocServer32", &found);
  if (!found) return;
  library = LoadLibraryW(server.c_str());
  if (library == nullptr) return;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  if (getClassObject == nullptr) return;
  const CLSID clsid = InputMethodClsid();
  IClassFactory* factory = nullptr;
  if (getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) return;
  factory->CreateInstance(nullptr, IID_IInputMethod, reinterpret_cast<void**>(&method_));
  factory->Release();
  if (method_ == nullptr) return;
  method_->RegisterCallback(&events);
  selectResult = method_->Select(sip);
  Pump();
}

SelectedInputMethod::~SelectedInputMethod() {
  if (method_ != nullptr) {
    method_->Hiding();
    method_->Deselect();
    method_->Release();
  }
  Pump();
  if (sip != nullptr) DestroyWindow(sip);
  UnregisterClassW(SIP_CLASS, GetModuleHandleW(nullptr));
  if (library != nullptr) FreeLibrary(library);
}

HWND SelectedInputMethod::panel() const {
  return sip != nullptr ? GetWindow(sip, GW_CHILD) : nullptr;
}

void SelectedInputMethod::Pump() {
  MSG message;
  for (;;) {
    if (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
        PeekMessageW(&message, nullptr, WM_TIMER + 1, 0xFFFF, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    break;
  }
}

void SelectedInputMethod::Down(int x, int y) {
  PostMessageW(panel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  Pump();
}

void SelectedInputMethod::Up(int x, int y) {
  PostMessageW(panel(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump();
}

void SelectedInputMethod::Tap(int x, int y) {
  Down(x, y);
  Up(x, y);
}

// Posted messages are retrieved before the timer's own ticks, so the one
// dispatched is the one posted here; Pump never takes the timer's.
void SelectedInputMethod::Tick() {
  PostMessageW(panel(), WM_TIMER, 17, 0);
  MSG message;
  if (PeekMessageW(&message, panel(), WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageW(&message);
  Pump();
}

}  // namespace wine_test
