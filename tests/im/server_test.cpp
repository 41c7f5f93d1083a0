// The library as the SIP manager meets it: the COM server frame, and the input
// method selected, shown, hidden and deselected in a SIP window.
#include <commctrl.h>

#include "im/class_factory.h"
#include "tests/im/server_fixture.h"
#include "wince/host/image_lists.h"
#include "wince/host/message_box.h"
#include "wince/host/windows.h"

namespace server_test {
namespace {

using Calls = std::vector<std::string>;

// The panel window: Select makes it without a child identifier.
HWND PanelWindow(HWND sip) { return GetDlgItem(sip, 0); }

// {00000000-0000-0000-0000-000000000001}: no class or interface of ours.
constexpr GUID OTHER = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};

TEST_F(ServerTest, UnloadsOnlyWhenNoFactoryObjectOrLockIsLeft) {
  EXPECT_EQ(CanUnloadNow(), S_OK);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(GetClassObject(tapora::CLSID_InputMethod, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  IUnknown* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)),
            S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // the object and the lock
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // the lock
  ASSERT_EQ(GetClassObject(tapora::CLSID_InputMethod, IID_IUnknown,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST_F(ServerTest, RefusalsOfTheFactoryAndTheObject) {
  void* out = &out;
  EXPECT_EQ(GetClassObject(tapora::CLSID_InputMethod, IID_IInputMethod, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(GetClassObject(tapora::CLSID_InputMethod, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  out = &out;
  IUnknown* outer = reinterpret_cast<IUnknown*>(&callback_);
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(factory->CreateInstance(nullptr, OTHER, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  factory->Release();
  EXPECT_EQ(CanUnloadNow(), S_OK);  // the refused object went again

  // A factory for another class is handed out, but makes nothing.
  ASSERT_EQ(GetClassObject(OTHER, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IInputMethod, &out), E_FAIL);
  factory->Release();

  IInputMethod* inputMethod = CreateInputMethod();
  ASSERT_NE(inputMethod, nullptr);
  out = &out;
  EXPECT_EQ(inputMethod->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, &out);  // left untouched
  EXPECT_EQ(inputMethod->GetImData(0, nullptr), E_NOTIMPL);
  EXPECT_EQ(inputMethod->SetImData(0, nullptr), E_NOTIMPL);
}

TEST_F(ServerTest, SelectedItTypesAndHidingReleasesTheHeldModifiers) {
  IInputMethod* inputMethod = CreateInputMethod();
  ASSERT_NE(inputMethod, nullptr);
  ASSERT_EQ(inputMethod->Select(sip_), S_OK);
  EXPECT_EQ(inputMethod->Showing(), S_OK);
  Tap(A_KEY);
  EXPECT_EQ(callback_.calls, (Calls{"char 'a' flags 0x80"}));

  callback_.calls.clear();
  Tap(SHIFT_KEY);
  Tap(ALT_KEY);
  EXPECT_EQ(inputMethod->Hiding(), S_OK);
  EXPECT_EQ(callback_.calls,
            (Calls{"key 16 down", "key 18 down", "key 16 up", "key 18 up"}));
  callback_.calls.clear();
  EXPECT_EQ(inputMethod->Hiding(), S_OK);
  EXPECT_TRUE(callback_.calls.empty());
  EXPECT_EQ(inputMethod->Deselect(), S_OK);
}

TEST_F(ServerTest, InfoRectangleAndImagesAndTheWindowSizedToTheSipRectangle) {
  IInputMethod* inputMethod = CreateInputMethod();
  ASSERT_NE(inputMethod, nullptr);
  IMINFO info{};
  info.cbSize = sizeof info;
  ASSERT_EQ(inputMethod->GetInfo(&info), S_OK);
  // Nothing loaded yet: the keyboard's size is still 10 by 10.
  EXPECT_EQ(info.rcSipRect.left, 0);
  EXPECT_EQ(info.rcSipRect.top, 284);
  EXPECT_EQ(info.rcSipRect.right, 10);
  EXPECT_EQ(info.rcSipRect.bottom, 294);
  EXPECT_EQ(callback_.calls, (Calls{"iminfo 0 284 10 294"}));

  ASSERT_EQ(inputMethod->Select(sip_), S_OK);
  ASSERT_EQ(inputMethod->GetInfo(&info), S_OK);
  EXPECT_EQ(info.cbSize, sizeof info);
  EXPECT_EQ(info.rcSipRect.top, 214);
  EXPECT_EQ(info.rcSipRect.right, 240);
  EXPECT_EQ(ImageList_GetImageCount(info.hImageNarrow), 1);
  EXPECT_EQ(ImageList_GetImageCount(info.hImageWide), 1);
  EXPECT_EQ(wince::host::LiveImageLists(), 2u);

  SIPINFO sip{};
  sip.rcSipRect = info.rcSipRect;
  ASSERT_EQ(inputMethod->ReceiveSipInfo(&sip), S_OK);
  HWND panel = PanelWindow(sip_);
  RECT rect{};
  GetWindowRect(panel, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 240);
  EXPECT_EQ(rect.bottom, 80);

  // Deselect takes the lists, the window and the class; GetInfo builds the
  // lists again.
  ASSERT_EQ(inputMethod->Deselect(), S_OK);
  EXPECT_EQ(wince::host::LiveImageLists(), 0u);
  EXPECT_FALSE(IsWindow(panel));
  ASSERT_EQ(inputMethod->GetInfo(&info), S_OK);
  EXPECT_EQ(wince::host::LiveImageLists(), 2u);
  ASSERT_EQ(inputMethod->Deselect(), S_OK);
}

TEST_F(ServerTest, SelectFailuresLeaveThingsAsTheyWere) {
  IInputMethod* inputMethod = CreateInputMethod();
  ASSERT_NE(inputMethod, nullptr);
  // A second Select fails at the class and leaves the first window alone.
  ASSERT_EQ(inputMethod->Select(sip_), S_OK);
  HWND panel = PanelWindow(sip_);
  EXPECT_EQ(inputMethod->Select(sip_), E_FAIL);
  EXPECT_TRUE(IsWindow(panel));
  Tap(A_KEY);
  EXPECT_EQ(callback_.calls, (Calls{"char 'a' flags 0x80"}));
  ASSERT_EQ(inputMethod->Deselect(), S_OK);

  // A keyboard that does not load fails Select with its message; once it is
  // back, Select succeeds.
  RemoveKeyboard();
  EXPECT_EQ(inputMethod->Select(sip_), E_FAIL);
  EXPECT_EQ(wince::host::MessageBoxes().size(), 1u);
  EXPECT_EQ(PanelWindow(sip_), nullptr);
  WriteKeyboard();
  EXPECT_EQ(inputMethod->Select(sip_), S_OK);
  ASSERT_EQ(inputMethod->Deselect(), S_OK);
}

}  // namespace
}  // namespace server_test
