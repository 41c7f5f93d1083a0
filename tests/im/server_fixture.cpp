// The SIP manager's side (see server_fixture.h).
#include "tests/im/server_fixture.h"

#include <unistd.h>

#include "im/class_factory.h"
#include "tools/kbf/writer/kbf_writer.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/sip.h"
#include "wince/host/windows.h"

namespace server_test {

namespace {

namespace fs = std::filesystem;

const fs::path KEYBOARD_FOLDER = "Program Files/Tapora SIP/Keyboard";

void WriteText(const fs::path& file, std::string_view text) {
  fs::create_directories(file.parent_path());
  kbf::WriteFileBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

template <class F>
F Export(HMODULE library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void ServerTest::SetUp() {
  static int number = 0;
  device_ = fs::temp_directory_path() /
            ("server_tests_" + std::to_string(getpid()) + "_" + std::to_string(++number));
  fs::create_directories(device_ / "Windows");
  fs::copy_file(fs::path(TAPORA_DEVICE_DIR) / "Windows" / "tapora.dll",
                device_ / "Windows" / "tapora.dll");
  WriteText(device_ / "Program Files/Tapora SIP/info", "Keyboard");
  WriteKeyboard();
  wince::host::SetDeviceFolder(device_);
  wince::host::ResetWindows();
  wince::host::ClearMessageBoxes();
  wince::host::ClearSipCalls();
  sip_ = wince::host::CreateScreen(KEYBOARD_WIDTH, 320);
  library_ = LoadLibraryW(u"\\Windows\\tapora.dll");
  ASSERT_NE(library_, nullptr) << "the library does not load";
}

void ServerTest::TearDown() {
  for (auto it = held_.rbegin(); it != held_.rend(); ++it) (*it)->Release();
  held_.clear();
  if (library_ != nullptr) FreeLibrary(library_);
  wince::host::ResetWindows();
  std::error_code ignored;
  fs::remove_all(device_, ignored);
}

HRESULT ServerTest::GetClassObject(REFCLSID clsid, REFIID riid, void** object) const {
  auto get = Export<HRESULT (*)(REFCLSID, REFIID, void**)>(library_, "DllGetClassObject");
  return get(clsid, riid, object);
}

HRESULT ServerTest::CanUnloadNow() const {
  return Export<HRESULT (*)()>(library_, "DllCanUnloadNow")();
}

IInputMethod* ServerTest::CreateInputMethod() {
  IClassFactory* factory = nullptr;
  EXPECT_EQ(GetClassObject(tapora::CLSID_InputMethod, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  if (factory == nullptr) return nullptr;
  IInputMethod* inputMethod = nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IInputMethod,
                                    reinterpret_cast<void**>(&inputMethod)),
            S_OK);
  factory->Release();
  if (inputMethod == nullptr) return nullptr;
  held_.push_back(inputMethod);
  inputMethod->RegisterCallback(&callback_);
  return inputMethod;
}

void ServerTest::Tap(POINT point) {
  wince::host::PenDown(sip_, point.x, PANEL_TOP + point.y);
  wince::host::PumpMessages();
  wince::host::PenUp(sip_, point.x, PANEL_TOP + point.y);
  wince::host::PumpMessages();
}

void ServerTest::WriteKeyboard(const std::string& language, char16_t third) const {
  kbf::Keyboard keyboard;
  kbf::AddPanelOfRows(keyboard, 0, 0, KEYBOARD_WIDTH - 2, KEYBOARD_HEIGHT,
                      {{kbf::MakeKey(20, 20, 18, u"Shift", u"[Shift-Down]"),
                        kbf::MakeKey(20, 20, 18, u"Alt", u"[Alt-Down]"),
                        kbf::MakeKey(20, 20, 1, std::u16string(1, third))}});
  // Keys start 2 pixels in, clear of the panel's first row and column.
  for (kbf::Placement& placement : keyboard.panels[0].placements) {
    placement.x += 2;
    placement.y += 2;
  }
  const fs::path folder = device_ / "Program Files/Tapora SIP" / language;
  WriteText(folder / "info", "keyboard.kbf");
  kbf::WriteFileBytes(folder / "keyboard.kbf", kbf::WriteContainer(kbf::Members(keyboard)));
}

void ServerTest::RemoveKeyboard() const { fs::remove(device_ / KEYBOARD_FOLDER / "keyboard.kbf"); }

}  // namespace server_test
