// The SIP manager's part, played under Wine against the real Windows modules:
// the product installed into the prefix as the device has it, the registry
// read back, the library loaded from the path the registry names, the input
// method created and selected in a real SIP window, pen messages posted to the
// real panel window, timer ticks delivered as WM_TIMER, and every message box
// caught, recorded and answered.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "im/sip_interfaces.h"
#include "tests/input/recording_callback.h"

namespace wine_test {

// The input method's class as the registry carries it.
inline constexpr wchar_t CLSID_TEXT[] = L"{26CA1951-5391-48C1-AC94-17CF92B65759}";
CLSID InputMethodClsid();

// A host path (/a/b) as Wine sees it (Z:\a\b).
std::wstring FromHost(const std::string& path);
// The folder of this program, where the build puts every module.
std::wstring ModulesFolder();
// Copies tapora.dll and STOCK.DLL to C:\Windows and the bundled language
// tree to C:\Program Files\Tapora SIP, replacing what is there.
bool InstallProduct();
// The default value of HKEY_CLASSES_ROOT\sub, or nothing with found false.
std::wstring ReadClassesValue(const std::wstring& sub, bool* found);
bool ClassesKeyExists(const std::wstring& sub);

// Message boxes of this thread while it lives: each is recorded as
// "caption: text" and answered with IDOK. The options dialog, when a test
// gives it a script, is driven by that script once its modal loop runs.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  std::vector<std::string> boxes;
  // Run once against the options dialog, from inside its modal loop.
  std::function<void(HWND dialog)> dialogScript;
  // The options dialog while it is open.
  HWND dialog = nullptr;

 private:
  HHOOK hook_;
};

// Calls an export of a module that takes no arguments and answers an HRESULT
// (E_NOTIMPL when the module or the export is missing).
HRESULT CallExport(HMODULE module, const char* name);
// The names a module's export table lists, in its order.
std::vector<std::string> ExportNames(const std::wstring& path);
// Loads C:\Windows\tapora.dll, registers it and frees it again.
HRESULT RegisterInstalledServer();

// The SIP manager's calls that coredll.dll recorded since the last time.
std::vector<std::string> TakeSipCalls();

// The library found under InprocServer32, its input method created, given
// the callback and selected in a SIP window; taken down again on destruction.
class SelectedInputMethod {
 public:
  SelectedInputMethod();
  ~SelectedInputMethod();
  SelectedInputMethod(const SelectedInputMethod&) = delete;
  SelectedInputMethod& operator=(const SelectedInputMethod&) = delete;

  bool ok() const { return selectResult == S_OK && panel() != nullptr; }
  HWND panel() const;
  IInputMethod* method() { return method_; }
  // Pen messages to the panel, each followed by the queue's other messages.
  void Down(int x, int y);
  void Up(int x, int y);
  void Tap(int x, int y);
  // One timer tick, as the panel's timer delivers it.
  void Tick();
  // Every message waiting except timer ticks, which only Tick delivers.
  void Pump();

  HMODULE library = nullptr;
  HWND sip = nullptr;
  HRESULT selectResult = E_FAIL;
  input_test::RecordingCallback events;  // one line per call, as the host's tests write them

 private:
  IInputMethod* method_ = nullptr;
};

}  // namespace wine_test
