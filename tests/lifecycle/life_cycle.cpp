// The life cycle and its invariants (see life_cycle.h).
#include "tests/lifecycle/life_cycle.h"

#include <ce_setup.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include <windows.h>

#include "im/class_factory.h"
#include "im/sip_interfaces.h"
#include "resources/resource_ids.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "tools/tapora-sim/input_method_lookup.h"
#include "wince/host/device.h"
#include "wince/host/dialogs.h"
#include "wince/host/faults.h"
#include "wince/host/heap.h"
#include "wince/host/image_lists.h"
#include "wince/host/message_box.h"
#include "wince/host/registry.h"
#include "wince/host/sip.h"
#include "wince/host/surface.h"
#include "wince/host/windows.h"

namespace lifecycle {
namespace {

namespace fs = std::filesystem;

constexpr char16_t LIBRARY[] = u"\\Windows\\tapora.dll";
constexpr char16_t SETUP[] = u"\\Temp\\setup.dll";
constexpr char16_t PRODUCT_FOLDER[] = u"\\Program Files\\Tapora SIP";
constexpr char16_t SIP_CLASS[] = u"life cycle SIP window";
constexpr int SCREEN_WIDTH = 240;
constexpr int SCREEN_HEIGHT = 320;
// Every keyboard is one row of 20-pixel keys from (2, 2); key i's middle.
POINT Key(int i) { return POINT{12 + 20 * i, 12}; }

template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return "(missing)";
  std::string bytes(static_cast<size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Whether a file holds exactly these bytes, read a piece at a time.
bool SameBytes(const fs::path& file, const std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  char piece[1 << 16];
  size_t at = 0;
  while (in) {
    in.read(piece, sizeof piece);
    const size_t got = static_cast<size_t>(in.gcount());
    if (got > bytes.size() - at || bytes.compare(at, got, piece, got) != 0) return false;
    at += got;
  }
  return in.eof() && at == bytes.size();
}

// Devices live in memory where there is a memory file system: the registry
// syncs every save to disk, which would otherwise make up most of a run.
fs::path TempFolder() {
  std::error_code error;
  if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path();
}

void WriteText(const fs::path& file, std::string_view text) {
  fs::create_directories(file.parent_path());
  kbf::WriteFileBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

void WriteKeyboard(const fs::path& file, const std::vector<kbf::KeyRecord>& row) {
  kbf::Keyboard keyboard;
  kbf::AddPanelOfRows(keyboard, 0, 0, 118, 40, {row});
  for (kbf::Placement& placement : keyboard.panels[0].placements) {
    placement.x += 2;
    placement.y += 2;
  }
  kbf::WriteFileBytes(file, kbf::WriteContainer(kbf::Members(keyboard)));
}

kbf::KeyRecord Modifier(std::u16string_view label, std::u16string_view output) {
  return kbf::MakeKey(20, 20, 18, label, output);
}
kbf::KeyRecord Plain(std::u16string_view letter) { return kbf::MakeKey(20, 20, 1, letter); }

// The product as the build left it, with small keyboards of known places,
// laid out once as the installer's source: \Windows\tapora.dll, the setup
// library and the language tree.
struct Product {
  fs::path root;
  std::string libraryBytes;

  Product() {
    root = TempFolder() / ("lifecycle_product_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Windows");
    fs::copy_file(TAPORA_DLL, root / "Windows/tapora.dll");
    fs::copy_file(SETUP_DLL, root / "setup.dll");
    libraryBytes = ReadBytes(root / "Windows/tapora.dll");
    const fs::path base = root / "Program Files/Tapora SIP";
    WriteText(base / "info", "Keyboard");
    WriteText(base / "Keyboard/info", "m.kbf");
    WriteKeyboard(
        base / "Keyboard/m.kbf",
        {Modifier(u"Shift", u"[Shift-Down]"), Plain(u"a"), Modifier(u"Ctrl", u"[Ctrl-Down]"),
         Modifier(u"Alt", u"[Alt-Down]"), Modifier(u"to b", u"[CMD:NKBF=b.kbf]")});
    WriteKeyboard(base / "Keyboard/b.kbf", {Plain(u"b"), Modifier(u"to 1", u"[CMD:NKBF={1}]")});
    WriteKeyboard(base / "Keyboard/c.kbf", {Plain(u"c")});
    WriteText(base / "KBF.txt", "1 \\Program Files\\Tapora SIP\\Keyboard\\c.kbf\r\n");
    WriteText(base / "Other/info", "o.kbf");
    WriteKeyboard(base / "Other/o.kbf", {Plain(u"o"), Modifier(u"Alt", u"[Alt-Down]")});
  }
  ~Product() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

const Product& TheProduct() {
  static const Product product;
  return product;
}

// What the application sees: characters, and which modifiers it holds down.
class Application : public IIMCallback {
 public:
  std::u16string typed;
  std::map<BYTE, bool> pressed;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IIMCallback)) {
      *object = static_cast<IIMCallback*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override {
    pressed[vk] = (flags & KEYEVENTF_KEYUP) == 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SendCharEvents(UINT, UINT, UINT count, UINT*, UINT* chars) override {
    for (UINT i = 0; i < count; ++i) typed += static_cast<char16_t>(chars[i]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD length) override {
    typed.append(text, length);
    return S_OK;
  }
};

// What must be back where it was when the run ends.
struct Counts {
  size_t heapBlocks, gdiObjects, imageLists, windows, classes;
  int files, searches, keys;

  static Counts Now() {
    return Counts{wince::host::LiveHeapBlocks(),    wince::host::LiveGdiObjects(),
                  wince::host::LiveImageLists(),    wince::host::LiveWindows(),
                  wince::host::RegisteredClasses(), wince::host::OpenFileHandles(),
                  wince::host::OpenFindHandles(),   wince::host::OpenRegistryHandles()};
  }
};

// ---- the cabinet installer, on the current device folder
HMODULE LoadSetup() { return LoadLibraryW(SETUP); }

// Calls an export of the installed library, loaded for the call.
void CallLibrary(const char* name) {
  HMODULE library = LoadLibraryW(LIBRARY);
  if (library == nullptr) return;
  if (auto function = Export<HRESULT (*)()>(library, name)) function();
  FreeLibrary(library);
}

// The hooks around copying the product, then registration: 0 installed, 1
// cancelled or failed.
int Install() {
  const fs::path device = wince::host::DeviceFolder();
  HMODULE setup = LoadSetup();
  if (setup == nullptr) return 1;
  auto init = Export<pfnINSTALL_INIT>(setup, "Install_Init");
  auto exit = Export<pfnINSTALL_EXIT>(setup, "Install_Exit");
  int answer = init(nullptr, TRUE, FALSE, PRODUCT_FOLDER);
  if (answer == codeINSTALL_INIT_CONTINUE) {
    std::error_code error;
    fs::copy(TheProduct().root / "Windows", device / "Windows",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    fs::copy(TheProduct().root / "Program Files", device / "Program Files",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    exit(nullptr, PRODUCT_FOLDER, 0, 0, 0, 0, 0);
    CallLibrary("DllRegisterServer");
  }
  FreeLibrary(setup);
  return answer == codeINSTALL_INIT_CONTINUE ? 0 : 1;
}

// A device with the product installed and registered, made once: every run
// starts from a copy of it.
const fs::path& InstalledDevice() {
  static const fs::path folder = [] {
    const fs::path device = TheProduct().root / "installed";
    fs::create_directories(device / "Temp");
    fs::copy_file(TheProduct().root / "setup.dll", device / "Temp/setup.dll");
    wince::host::SetDeviceFolder(device);
    if (Install() != 0) ADD_FAILURE() << "the product does not install";
    return device;
  }();
  return folder;
}

class Run {
 public:
  Run() {
    static int number = 0;
    device_ =
        TempFolder() / ("lifecycle_" + std::to_string(getpid()) + "_" + std::to_string(++number));
    fs::remove_all(device_);
    fs::copy(InstalledDevice(), device_, fs::copy_options::recursive);
    wince::host::SetDeviceFolder(device_);
    wince::host::ResetWindows();
    wince::host::ClearMessageBoxes();
    wince::host::ClearSipCalls();
    wince::host::ClearUserActions();
    wince::host::SetSipCallObserver([this](const wince::host::SipCall& call) {
      if (call.kind == wince::host::SipCall::Show) pendingShows_.push_back(call.flags);
    });
    screen_ = wince::host::CreateScreen(SCREEN_WIDTH, SCREEN_HEIGHT);
    WNDCLASSW sipClass = {};
    sipClass.lpfnWndProc = DefWindowProcW;
    sipClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    sipClass.lpszClassName = SIP_CLASS;
    RegisterClassW(&sipClass);
    sip_ = CreateWindowExW(0, SIP_CLASS, u"", WS_POPUP | WS_VISIBLE, 0, 214, SCREEN_WIDTH, 80,
                           screen_, nullptr, nullptr, nullptr);
  }
  ~Run() {
    wince::host::ClearFaults();
    wince::host::SetSipCallObserver(nullptr);
    wince::host::ClearUserActions();
    wince::host::ResetWindows();
    std::error_code ignored;
    fs::remove_all(device_, ignored);
  }

  Outcome Cycle(const std::function<void()>& arm) {
    if (!LibraryIntact()) {
      Broken("the device does not start with the product installed");
      return outcome_;
    }
    const Counts before = Counts::Now();
    wince::host::ResetCallCounts();
    if (arm) arm();

    Install();
    CheckLibrary("install");
    CheckRegistryFile("install");
    if (Start()) {
      Taps();
      Options();
      Show(false);
      Stop();
    }
    CheckLibrary("the input method's run");
    CheckRegistryFile("the input method's run");
    Uninstall();
    CheckRegistryFile("uninstall");

    wince::host::ClearFaults();
    CheckCounts(before);
    for (const auto& [vk, down] : application_.pressed) {
      if (down && (vk == 16 || vk == 17 || vk == 18))  // Shift, Ctrl, Alt
        Broken("virtual key " + std::to_string(vk) + " is left pressed");
    }
    outcome_.typed = application_.typed;
    return outcome_;
  }

 private:
  void Broken(std::string what) { outcome_.broken.push_back(std::move(what)); }

  bool LibraryIntact() const {
    return SameBytes(device_ / "Windows/tapora.dll", TheProduct().libraryBytes);
  }
  void CheckLibrary(const char* step) {
    if (!LibraryIntact())
      Broken(std::string("the installed library is lost or replaced after ") + step);
  }

  // The file must hold exactly the registry in memory, and parse again.
  void CheckRegistryFile(const char* step) {
    const std::string text = wince::host::RegistryText();
    const std::string file = ReadBytes(device_ / "registry.reg");
    if (file != text) {
      Broken(std::string("registry.reg is not the whole registry after ") + step);
      return;
    }
    wince::host::ReloadRegistry();
    if (!wince::host::RegistryError().empty())
      Broken(std::string("registry.reg does not parse after ") + step + ": " +
             wince::host::RegistryError());
  }

  void CheckCounts(const Counts& before) {
    const Counts after = Counts::Now();
    auto check = [this](const char* what, size_t was, size_t is) {
      if (was != is)
        Broken(std::string(what) + ": " + std::to_string(was) + " before, " + std::to_string(is) +
               " after");
    };
    check("heap blocks", before.heapBlocks, after.heapBlocks);
    check("GDI objects", before.gdiObjects, after.gdiObjects);
    check("image lists", before.imageLists, after.imageLists);
    check("windows", before.windows, after.windows);
    check("window classes", before.classes, after.classes);
    check("file handles", static_cast<size_t>(before.files), static_cast<size_t>(after.files));
    check("search handles", static_cast<size_t>(before.searches),
          static_cast<size_t>(after.searches));
    check("registry key handles", static_cast<size_t>(before.keys),
          static_cast<size_t>(after.keys));
  }

  // ---- the cabinet installer
  void Uninstall() {
    HMODULE setup = LoadSetup();
    if (setup == nullptr) return;
    auto init = Export<pfnUNINSTALL_INIT>(setup, "Uninstall_Init");
    auto exit = Export<pfnUNINSTALL_EXIT>(setup, "Uninstall_Exit");
    const bool goOn = init(nullptr, PRODUCT_FOLDER) == codeUNINSTALL_INIT_CONTINUE;
    CheckLibrary("Uninstall_Init");
    if (goOn) {
      outcome_.uninstalled = true;
      CallLibrary("DllUnregisterServer");
      // The installer removes the files it installed, then the hook the folder.
      std::error_code error;
      fs::remove(device_ / "Windows/tapora.dll", error);
      const fs::path tree = device_ / "Program Files/Tapora SIP";
      std::vector<fs::path> folders;
      for (auto it = fs::recursive_directory_iterator(tree, error);
           it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error)) {
          folders.push_back(it->path());
        } else {
          fs::remove(it->path(), error);
        }
      }
      for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(*it, error);
      exit(nullptr);
    }
    FreeLibrary(setup);
  }

  // ---- the SIP manager
  bool Start() {
    std::u16string key, path;
    if (!sim::FindInputMethod(&key, &path)) {
      Broken("no input method is registered");
      return false;
    }
    library_ = LoadLibraryW(path.c_str());
    if (library_ == nullptr) {
      Broken("the registered library does not load");
      return false;
    }
    auto getClassObject =
        Export<HRESULT (*)(REFCLSID, REFIID, void**)>(library_, "DllGetClassObject");
    IClassFactory* factory = nullptr;
    if (FAILED(getClassObject(tapora::CLSID_InputMethod, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory)))) {
      FreeLibrary(library_);
      return false;
    }
    HRESULT hr =
        factory->CreateInstance(nullptr, IID_IInputMethod, reinterpret_cast<void**>(&inputMethod_));
    factory->Release();
    if (FAILED(hr)) {
      FreeLibrary(library_);
      return false;
    }
    inputMethod_->RegisterCallback(&application_);
    outcome_.selected = SUCCEEDED(inputMethod_->Select(sip_));
    AskForInfo();
    AnswerSipCalls();
    wince::host::PumpMessages();
    inputMethod_->Showing();
    return true;
  }

  // The input method's images and rectangle, and the SIP window fitted to it.
  void AskForInfo() {
    IMINFO info{};
    info.cbSize = sizeof info;
    inputMethod_->GetInfo(&info);
    const RECT& rect = info.rcSipRect;
    MoveWindow(sip_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    SIPINFO sipInfo{};
    sipInfo.cbSize = sizeof sipInfo;
    sipInfo.rcSipRect = rect;
    inputMethod_->ReceiveSipInfo(&sipInfo);
  }

  // Showing the panel again, the SIP manager asks for the size, which a
  // reload may have changed.
  void Show(bool show) {
    ShowWindow(sip_, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (show) {
      AskForInfo();
      inputMethod_->Showing();
    } else {
      inputMethod_->Hiding();
    }
    wince::host::PumpMessages();
  }

  // What the input method asked of the SIP manager, once its call returned.
  void AnswerSipCalls() {
    std::vector<DWORD> shows;
    shows.swap(pendingShows_);
    for (DWORD flags : shows) Show((flags & SIPF_ON) != 0);
  }

  HWND Panel() const {
    HWND panel = GetWindow(sip_, GW_CHILD);
    return panel != nullptr && IsWindowVisible(panel) ? panel : nullptr;
  }

  void Tap(int key, DWORD hold = 0) {
    HWND panel = Panel();
    if (panel == nullptr) return;
    const POINT at = Key(key);
    wince::host::PenDown(panel, at.x, at.y);
    wince::host::PumpMessages();
    if (hold != 0) wince::host::AdvanceClock(hold);
    if ((panel = Panel()) == nullptr) return;
    wince::host::PenUp(panel, at.x, at.y);
    wince::host::PumpMessages();
    AnswerSipCalls();
  }

  // Keys of m.kbf: 0 Shift, 1 a, 2 Ctrl, 3 Alt, 4 switch to b.kbf; of b.kbf:
  // 0 b, 1 switch to entry 1 of KBF.txt, c.kbf, whose 0 is c.
  void Taps() {
    Tap(0);
    Tap(1);
    Tap(2);
    Tap(1, 800);  // held: repeats from the sixth tick
    Tap(3);
    Tap(4);
    Tap(0);
    Tap(1);
    Tap(0);
  }

  // Chooses the other language, marks it the default, OK: the keyboard is
  // reloaded; then o.kbf's 0 o, 1 Alt, o.
  void Options() {
    wince::host::UserChoose(IDC_LANGUAGE_LIST, u"Other");
    wince::host::UserClick(IDC_DEFAULT_LANGUAGE);  // the "info" files are written
    wince::host::UserClick(IDOK);
    const size_t sipCalls = wince::host::SipCalls().size();
    outcome_.reloaded =
        inputMethod_->UserOptionsDlg(sip_) == S_OK && wince::host::SipCalls().size() > sipCalls;
    wince::host::ClearUserActions();
    AnswerSipCalls();
    Tap(0);
    Tap(1);
    Tap(0);
  }

  void Stop() {
    inputMethod_->Hiding();
    inputMethod_->Deselect();
    inputMethod_->Release();
    inputMethod_ = nullptr;
    FreeLibrary(library_);
    library_ = nullptr;
  }

  fs::path device_;
  HWND screen_ = nullptr;
  HWND sip_ = nullptr;
  HMODULE library_ = nullptr;
  IInputMethod* inputMethod_ = nullptr;
  Application application_;
  std::vector<DWORD> pendingShows_;
  Outcome outcome_;
};

}  // namespace

Outcome RunLifeCycle(const std::function<void()>& arm) {
  Run run;
  return run.Cycle(arm);
}

}  // namespace lifecycle
