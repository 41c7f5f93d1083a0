// The SIP manager's stand-in (see stand_in.h).
#include "tools/tapora-sim/stand_in.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "tools/tapora-sim/input_method_lookup.h"
#include "tools/tapora-sim/key_finder.h"
#include "wince/host/debug_output.h"
#include "wince/host/dialogs.h"
#include "wince/host/message_box.h"
#include "wince/host/sip.h"
#include "wince/host/text.h"
#include "wince/host/windows.h"

namespace sim {
namespace {

constexpr int SCREEN_WIDTH = 240;
constexpr int SCREEN_HEIGHT = 320;
constexpr char16_t SIP_CLASS[] = u"tapora-sim SIP window";

template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const char* OwnerKind(HWND owner) {
  if (owner == nullptr) return "none";
  return GetWindowLongPtrW(owner, DWLP_DLGPROC) != 0 ? "dialog" : "other";
}

}  // namespace

StandIn::StandIn(Report& report, Product product, std::filesystem::path snapshots)
    : report_(report), product_(std::move(product)), snapshots_(std::move(snapshots)) {
  wince::host::SetMessageBoxObserver([this](const wince::host::MessageBoxRecord& box) {
    if (searching_) return;
    report_.ShowMessageBox(OwnerKind(box.owner), box.caption, box.text, box.type);
  });
  wince::host::SetDebugOutputObserver(
      [this](const std::u16string& text) { report_.DebugString(text); });
  wince::host::SetSipCallObserver([this](const wince::host::SipCall& call) {
    if (call.kind == wince::host::SipCall::Show) {
      report_.SipShowIM(call.flags);
      pendingShows_.push_back(call.flags);
    } else {
      report_.SipSetCurrentIM(call.clsid);
    }
  });
  screen_ = wince::host::CreateScreen(SCREEN_WIDTH, SCREEN_HEIGHT);
  WNDCLASSW sipClass = {};
  sipClass.lpfnWndProc = DefWindowProcW;
  sipClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  sipClass.lpszClassName = SIP_CLASS;
  RegisterClassW(&sipClass);
  // Until the input method reports its rectangle, the SIP window takes the
  // bottom of the screen.
  sip_ = CreateWindowExW(0, SIP_CLASS, u"", WS_POPUP | WS_VISIBLE, 0, 214, SCREEN_WIDTH, 80,
                         screen_, nullptr, nullptr, nullptr);
}

StandIn::~StandIn() {
  wince::host::SetMessageBoxObserver(nullptr);
  wince::host::SetDebugOutputObserver(nullptr);
  wince::host::SetSipCallObserver(nullptr);
}

bool StandIn::Start() {
  CLSID clsid{};
  std::u16string key, path;
  if (!FindInputMethod(&key, &path) || !ParseClsid(key, &clsid)) {
    report_.Note("no input method is registered under HKEY_CLASSES_ROOT\\CLSID");
    return false;
  }
  library_ = LoadLibraryW(path.c_str());
  report_.Result("LoadLibrary", library_ != nullptr ? 1 : 0);
  if (library_ == nullptr) return false;
  auto getClassObject =
      Export<HRESULT (*)(REFCLSID, REFIID, void**)>(library_, "DllGetClassObject");
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject != nullptr
                   ? getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))
                   : E_FAIL;
  report_.Hresult("DllGetClassObject", hr);
  if (FAILED(hr)) return false;
  hr = factory->CreateInstance(nullptr, IID_IInputMethod, reinterpret_cast<void**>(&inputMethod_));
  report_.Hresult("CreateInstance", hr);
  report_.Result("Release factory", static_cast<long>(factory->Release()));
  if (FAILED(hr)) return false;
  report_.Hresult("RegisterCallback", inputMethod_->RegisterCallback(this));
  Select();
  report_.Hresult("Showing", inputMethod_->Showing());
  return true;
}

void StandIn::Select() {
  const HRESULT hr = inputMethod_->Select(sip_);
  report_.Hresult("Select", hr);
  selected_ = SUCCEEDED(hr);
  IMINFO info{};
  info.cbSize = sizeof info;
  report_.Hresult("GetInfo", inputMethod_->GetInfo(&info));
  const RECT& rect = info.rcSipRect;
  MoveWindow(sip_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  SIPINFO sipInfo{};
  sipInfo.cbSize = sizeof sipInfo;
  sipInfo.rcSipRect = rect;
  report_.Hresult("ReceiveSipInfo", inputMethod_->ReceiveSipInfo(&sipInfo));
  AnswerSipCalls();
  wince::host::PumpMessages();
}

void StandIn::Show(bool show) {
  ShowWindow(sip_, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  report_.Hresult(show ? "Showing" : "Hiding",
                  show ? inputMethod_->Showing() : inputMethod_->Hiding());
  wince::host::PumpMessages();
}

void StandIn::AnswerSipCalls() {
  // What the input method asked for, once its own call has returned.
  std::vector<DWORD> shows;
  shows.swap(pendingShows_);
  for (DWORD flags : shows) Show((flags & SIPF_ON) != 0);
}

void StandIn::Stop() {
  if (inputMethod_ != nullptr) {
    report_.line = 0;
    report_.Hresult("Hiding", inputMethod_->Hiding());
    report_.Hresult("Deselect", inputMethod_->Deselect());
    report_.Result("Release", static_cast<long>(inputMethod_->Release()));
    inputMethod_ = nullptr;
  }
  if (library_ != nullptr) {
    auto canUnload = Export<HRESULT (*)()>(library_, "DllCanUnloadNow");
    if (canUnload != nullptr) report_.Hresult("DllCanUnloadNow", canUnload());
    report_.Result("FreeLibrary", FreeLibrary(library_));
    library_ = nullptr;
  }
}

HWND StandIn::Panel() const {
  HWND panel = GetWindow(sip_, GW_CHILD);
  return selected_ && panel != nullptr && IsWindowVisible(panel) ? panel : nullptr;
}

bool StandIn::Pen(CommandKind kind, int x, int y) {
  HWND panel = Panel();
  if (panel == nullptr) {
    report_.Note("the pen reaches no window: the panel is hidden or nothing is selected");
    return false;
  }
  switch (kind) {
    case CommandKind::Down: wince::host::PenDown(panel, x, y); break;
    case CommandKind::Move: wince::host::PenMove(panel, x, y); break;
    case CommandKind::Up: wince::host::PenUp(panel, x, y); break;
    default:
      wince::host::PenDown(panel, x, y);
      wince::host::PumpMessages();
      wince::host::PenUp(panel, x, y);
      break;
  }
  wince::host::PumpMessages();
  return true;
}

int StandIn::Options(const Command& command) {
  using Kind = OptionAction::Kind;
  auto setBox = [](int id, bool on) {
    wince::host::UserDoes([id, on](HWND dialog) {
      const bool checked = SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (checked != on) SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
    });
  };
  for (const OptionAction& action : command.actions) {
    switch (action.kind) {
      case Kind::Language:
        wince::host::UserChoose(IDC_LANGUAGE_LIST, wince::host::Utf16(action.name));
        break;
      case Kind::Layout:
        wince::host::UserChoose(IDC_LAYOUT_LIST, wince::host::Utf16(action.name));
        break;
      case Kind::DefaultLanguage: setBox(IDC_DEFAULT_LANGUAGE, action.on); break;
      case Kind::DefaultLayout: setBox(IDC_DEFAULT_LAYOUT, action.on); break;
      case Kind::Typematic: setBox(IDC_TYPEMATIC, action.on); break;
      case Kind::Ok: wince::host::UserClick(IDOK); break;
      case Kind::Cancel: wince::host::UserClick(IDCANCEL); break;
      case Kind::Deactivate: wince::host::UserActivateAnotherWindow(); break;
    }
  }
  report_.Hresult("UserOptionsDlg", inputMethod_->UserOptionsDlg(sip_));
  if (const size_t skipped = wince::host::PendingUserActions(); skipped != 0) {
    report_.Note("the dialog had ended: " + std::to_string(skipped) + " action(s) skipped");
    wince::host::ClearUserActions();
  }
  AnswerSipCalls();
  return 0;
}

int StandIn::Run(const Command& command) {
  report_.line = command.line;
  switch (command.kind) {
    case CommandKind::Down:
    case CommandKind::Move:
    case CommandKind::Up:
    case CommandKind::Tap:
      Pen(command.kind, command.x, command.y);
      break;
    case CommandKind::Wait:
      wince::host::AdvanceClock(static_cast<DWORD>(command.ms));
      break;
    case CommandKind::Snapshot: {
      std::filesystem::path file(command.text);
      if (file.is_relative()) file = snapshots_ / file;
      HWND panel = GetWindow(sip_, GW_CHILD);
      if (panel == nullptr || !wince::host::SaveWindowPng(panel, file)) {
        report_.Note("no snapshot: there is no panel window to take it of");
      } else {
        report_.Note("snapshot " + file.string());
      }
      break;
    }
    case CommandKind::Hide: Show(false); break;
    case CommandKind::Show: Show(true); break;
    case CommandKind::Select: Select(); break;
    case CommandKind::Deselect:
      report_.Hresult("Deselect", inputMethod_->Deselect());
      selected_ = false;
      break;
    case CommandKind::Options: return Options(command);
    case CommandKind::Install: Install(product_, report_); break;
    case CommandKind::Uninstall: Uninstall(product_, report_); break;
    case CommandKind::ExpectText:
      if (field_.Text() != command.expected) {
        report_.Note("expected text: \"" + wince::host::Utf8(command.expected) + "\"");
        report_.Note("but the field holds: \"" + wince::host::Utf8(field_.Text()) + "\"");
        return 1;
      }
      break;
    case CommandKind::Press: {
      HWND panel = Panel();
      if (panel == nullptr) {
        report_.Note("the pen reaches no window: the panel is hidden or nothing is selected");
        break;
      }
      POINT middle{};
      std::string problem;
      searching_ = true;  // the search's own loads are not the input method's
      const bool found = FindKeyByLabel(panel, wince::host::Utf16(command.text), &middle, &problem);
      searching_ = false;
      if (!found) {
        report_.Note("press " + command.text + ": " + problem);
        return 2;
      }
      Pen(CommandKind::Tap, middle.x, middle.y);
      break;
    }
  }
  AnswerSipCalls();
  return 0;
}

HRESULT STDMETHODCALLTYPE StandIn::QueryInterface(REFIID riid, void** object) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IIMCallback)) {
    *object = static_cast<IIMCallback*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE StandIn::SetImInfo(IMINFO* info) {
  report_.SetImInfo(info->rcSipRect);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StandIn::SendVirtualKey(BYTE vk, DWORD flags) {
  report_.SendVirtualKey(vk, flags);
  field_.SendVirtualKey(vk, flags);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StandIn::SendCharEvents(UINT vk, UINT keyFlags, UINT count, UINT* shift,
                                                 UINT* chars) {
  report_.SendCharEvents(vk, keyFlags, count, shift, chars);
  field_.SendCharEvents(vk, keyFlags, count, shift, chars);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StandIn::SendString(BSTR text, DWORD length) {
  report_.SendString(text, length);
  field_.SendString(text, length);
  return S_OK;
}

}  // namespace sim
