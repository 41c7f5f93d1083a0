// The search over the system's input states (see tap_graph.h).
#include "tools/kbf/coverage/tap_graph.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include <windows.h>

#include "im/input_method_state.h"
#include "im/panel_window.h"
#include "input/hit_test.h"
#include "input/keyboard_switch.h"
#include "input/tap_handling.h"
#include "language/info_files.h"
#include "language/keyboard_selection.h"
#include "language/language_texts.h"
#include "layout/load_keyboard.h"
#include "tools/kbf/coverage/key_places.h"
#include "tools/tapora-sim/text_field.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"
#include "wince/host/windows.h"

namespace kbf::coverage {

namespace fs = std::filesystem;

namespace {

constexpr uint8_t VK_SHIFT_KEY = 16, VK_CONTROL_KEY = 17, VK_ALT_KEY = 18;
constexpr DWORD KEY_UP_FLAG = 2;
// What the field holds before each tap: two lines, so that any caret move or
// deletion shows.
constexpr char16_t FIELD_BEFORE[] = u"a\nb";
constexpr uintmax_t kLargestCopied = 4 << 20;


// The focused application as the SIP callback feeds it: tapora-sim's text
// field, and the virtual keys that went out.
class FieldCallback : public IIMCallback {
 public:
  sim::TextField field;
  std::vector<uint8_t> keysDown;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IIMCallback)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override {
    if ((flags & KEY_UP_FLAG) == 0 && vk != VK_SHIFT_KEY && vk != VK_CONTROL_KEY && vk != VK_ALT_KEY) {
      keysDown.push_back(vk);
    }
    field.SendVirtualKey(vk, flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SendCharEvents(UINT vk, UINT keyFlags, UINT count, UINT* shift,
                                           UINT* chars) override {
    field.SendCharEvents(vk, keyFlags, count, shift, chars);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD length) override {
    field.SendString(reinterpret_cast<const char16_t*>(text), length);
    return S_OK;
  }
};

// A private device folder with the keyboard's language tree under the base
// folder, the host pointed at it while it lives.
class ScratchTree {
 public:
  explicit ScratchTree(const KeyboardSource& source) : previous_(wince::host::DeviceFolder()) {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() /
              ("kbf_coverage_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    const fs::path base = folder_ / "Program Files" / "Tapora SIP";
    fs::create_directories(base);
    if (!source.base.empty()) {
      CopyFiles(source.base, base);
      std::error_code ec;
      for (const fs::directory_entry& entry : fs::directory_iterator(source.base, ec)) {
        if (entry.is_directory(ec)) CopyFiles(entry.path(), base / entry.path().filename());
      }
    } else {
      CopyFiles(source.language, base / source.language.filename());
    }
    wince::host::SetDeviceFolder(folder_);
  }
  ~ScratchTree() {
    wince::host::SetDeviceFolder(previous_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

 private:
  static void CopyFiles(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::create_directories(to, ec);
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec)) {
      // Keyboards are small; a keyboard that lies among other files (a
      // download folder) must not cost a copy of them.
      if (!entry.is_regular_file(ec) || entry.file_size(ec) > kLargestCopied) continue;
      fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
      if (ec) throw std::runtime_error("cannot copy " + entry.path().string() + ": " + ec.message());
    }
  }

  fs::path previous_;
  fs::path folder_;
};

std::u16string DevicePath(std::initializer_list<std::u16string> parts) {
  std::u16string path = tapora::BASE_FOLDER;
  for (const std::u16string& part : parts) path += u"\\" + part;
  return path;
}

// The input method as Select leaves it: the selection built from the "info"
// files, the keyboard loaded, the panel window shown in a SIP window, the
// callback registered. Everything is taken down again at the end.
class Explorer {
 public:
  Explorer(const KeyboardSource& source, size_t maxStates) : tree_(source), maxStates_(maxStates) {
    wince::host::ResetWindows();
    wince::host::ClearMessageBoxes();
    ResetInputToStart();
    tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
    tapora::InputMethodState.callback = &callback_;
    const std::u16string language = wince::host::Utf16(source.language.filename().string());
    WCHAR folder[tapora::PATH_UNITS] = {};
    DevicePath({}).copy(folder, tapora::PATH_UNITS - 1);
    tapora::WriteInfoFile(folder, std::u16string(language + u'\0').c_str());
    if (!source.layoutFile.empty()) {
      WCHAR languageFolder[tapora::PATH_UNITS] = {};
      DevicePath({language}).copy(languageFolder, tapora::PATH_UNITS - 1);
      tapora::WriteInfoFile(languageFolder,
                            std::u16string(wince::host::Utf16(source.layoutFile) + u'\0').c_str());
    }
    if (!tapora::LoadKeyboard(tapora::BuildKeyboardPath(), &tapora::KeyboardSelection.windowHeight,
                              &tapora::KeyboardSelection.windowWidth)) {
      Messages();
      TakeDown();
      throw std::runtime_error("the keyboard does not load" +
                               (graph_.messages.empty() ? std::string() : ": " + graph_.messages[0]));
    }
    const int width = std::max<int>(240, tapora::KeyboardSelection.windowWidth);
    const int height = tapora::PANEL_WINDOW_Y + std::max<int>(80, tapora::KeyboardSelection.windowHeight);
    HWND screen = wince::host::CreateScreen(width, height);
    tapora::RegisterPanelWindowClass();
    panel_ = tapora::CreatePanelWindow(screen);
    wince::host::PumpMessages();
    loaded_ = CaptureInput().KeyboardName();
  }
  ~Explorer() { TakeDown(); }

  TapGraph Run() {
    graph_.states.push_back(State{CaptureInput(), 0, NO_STATE});
    known_[graph_.states[0].snapshot.Identity()] = 0;
    for (size_t s = 0; s < graph_.states.size(); ++s) {
      for (const KeyAt& key : KeysOf(s)) TryKey(s, key);
    }
    Messages();
    return std::move(graph_);
  }

 private:
  void TakeDown() {
    tapora::ResetKeyboard();
    wince::host::ResetWindows();
    wince::host::ClearMessageBoxes();
    tapora::InputMethodState = tapora::InputMethodStateRecord{};
    tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
    ResetInputToStart();
  }

  void Messages() {
    for (const auto& box : wince::host::MessageBoxes()) {
      const std::string text = wince::host::Utf8(box.text);
      if (std::find(graph_.messages.begin(), graph_.messages.end(), text) == graph_.messages.end()) {
        graph_.messages.push_back(text);
      }
    }
    wince::host::ClearMessageBoxes();
  }

  bool Restore(size_t s) {
    const InputSnapshot& snapshot = graph_.states[s].snapshot;
    const bool reload = dirty_ || snapshot.KeyboardName() != loaded_;
    if (!RestoreInput(snapshot, reload)) return false;
    loaded_ = snapshot.KeyboardName();
    dirty_ = false;
    return true;
  }

  const std::vector<KeyAt>& KeysOf(size_t s) {
    static const std::vector<KeyAt> none;
    const std::string name = graph_.states[s].snapshot.KeyboardName();
    auto found = keys_.find(name);
    if (found != keys_.end()) return found->second;
    if (!Restore(s)) return none;
    return keys_[name] = KeysOfLoadedKeyboard();
  }

  void TryKey(size_t s, const KeyAt& key) {
    if (!Restore(s)) return;
    Tap tap;
    tap.from = s;
    tap.label = ShownLabel(key.record);
    tap.row = key.row;
    tap.column = key.column;
    tap.x = key.x;
    tap.y = key.y;
    // The field as the application would hold it now, its held keys as the
    // system pressed them.
    callback_.field.Reset();
    callback_.field.SendString(FIELD_BEFORE, 3);
    const InputSnapshot& before = graph_.states[s].snapshot;
    if (before.shiftHeld) callback_.field.SendVirtualKey(VK_SHIFT_KEY, 0);
    if (before.ctrlHeld) callback_.field.SendVirtualKey(VK_CONTROL_KEY, 0);
    if (before.altHeld) callback_.field.SendVirtualKey(VK_ALT_KEY, 0);
    callback_.keysDown.clear();

    wince::host::PenDown(panel_, key.x, key.y);
    wince::host::PumpMessages();
    wince::host::PenUp(panel_, key.x, key.y);
    wince::host::PumpMessages();

    const bool switched = tapora::ReleaseResult == tapora::RELEASE_SAME_KEY &&
                          tapora::IsKeyboardSwitch(tapora::ReleaseOutput);
    if (switched) dirty_ = true;
    // A key whose middle another key covers (or the panel's edge) is not
    // what this tap reached.
    if (tapora::ReleaseResult != tapora::RELEASE_SAME_KEY || tapora::HitKeyRef.panelIndex != key.panel ||
        tapora::HitKeyRef.keyIndex != key.index) {
      return;
    }
    tap.switches = switched;
    for (uint8_t vk : callback_.keysDown) tap.specialKeys.push_back(VirtualKeyName(vk));
    const sim::TextField& field = callback_.field;
    const std::u16string before3(FIELD_BEFORE);
    const bool appends = field.Text().compare(0, before3.size(), before3) == 0 &&
                         field.Caret() == field.Text().size() && !field.HasSelection() &&
                         field.Clipboard().empty() && !field.CtrlHeld() && !field.AltHeld();
    if (appends) {
      tap.typed = field.Text().substr(before3.size());
      InputSnapshot after = CaptureInput();
      const std::string id = after.Identity();
      auto known = known_.find(id);
      if (known != known_.end()) {
        tap.to = known->second;
      } else if (graph_.states.size() < maxStates_) {
        tap.to = graph_.states.size();
        known_[id] = tap.to;
        graph_.states.push_back(State{std::move(after), graph_.states[s].depth + 1, graph_.taps.size()});
      } else {
        graph_.cut = true;
      }
    }
    if (appends || !tap.specialKeys.empty()) graph_.taps.push_back(std::move(tap));
    if (wince::host::MessageBoxes().size() > 0) Messages();
  }

  ScratchTree tree_;
  size_t maxStates_;
  FieldCallback callback_;
  HWND panel_ = nullptr;
  TapGraph graph_;
  std::unordered_map<std::string, size_t> known_;
  std::map<std::string, std::vector<KeyAt>> keys_;
  std::string loaded_;  // the keyboard loaded now
  bool dirty_ = false;  // a switch loaded a keyboard since
};

}  // namespace

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

fs::path EntryNamed(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (Lower(entry.path().filename().string()) == Lower(name)) return entry.path();
  }
  return {};
}

std::vector<const Tap*> TapGraph::PathTo(size_t state) const {
  std::vector<const Tap*> path;
  while (state != NO_STATE && states[state].reachedBy != NO_STATE) {
    const Tap& tap = taps[states[state].reachedBy];
    path.push_back(&tap);
    state = tap.from;
  }
  std::reverse(path.begin(), path.end());
  return path;
}

std::vector<const Tap*> TapGraph::PathThrough(const Tap& tap) const {
  std::vector<const Tap*> path = PathTo(tap.from);
  path.push_back(&tap);
  return path;
}

KeyboardSource ResolveKeyboard(const fs::path& argument) {
  std::error_code ec;
  KeyboardSource source;
  const fs::path absolute = fs::absolute(argument, ec).lexically_normal();
  fs::path file = absolute;
  if (!file.has_filename()) file = file.parent_path();
  if (fs::is_directory(file, ec)) {
    source.language = file;
    const fs::path set = EntryNamed(file, "PNL00001.PNL");
    if (!set.empty()) source.layoutFile = set.filename().string();
  } else if (fs::is_regular_file(file, ec)) {
    source.language = file.parent_path();
    source.layoutFile = file.filename().string();
  } else {
    throw std::runtime_error("no keyboard or language folder at " + argument.string());
  }
  const fs::path parent = source.language.parent_path();
  if (!EntryNamed(parent, "KBF.txt").empty()) source.base = parent;
  return source;
}

TapGraph ExploreTaps(const KeyboardSource& source, size_t maxStates) {
  Explorer explorer(source, maxStates);
  return explorer.Run();
}

}  // namespace kbf::coverage
