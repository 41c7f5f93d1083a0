// The options dialog as the SIP manager opens it through UserOptionsDlg: the
// template from the library's resources, driven as a user would, and the
// reload that a changed choice asks for.
#include "im/class_factory.h"
#include "resources/resource_ids.h"
#include "tests/im/server_fixture.h"
#include "wince/host/dialogs.h"
#include "wince/host/sip.h"

namespace server_test {
namespace {

using Calls = std::vector<std::string>;

// The SIP manager's functions as called, one line each.
std::vector<std::string> SipCallLines() {
  std::vector<std::string> lines;
  for (const wince::host::SipCall& call : wince::host::SipCalls()) {
    if (call.kind == wince::host::SipCall::Show) {
      lines.push_back(call.flags == SIPF_ON ? "show on" : "show off");
    } else {
      lines.push_back(IsEqualCLSID(call.clsid, tapora::CLSID_InputMethod) ? "current: this"
                                                                        : "current: another");
    }
  }
  return lines;
}

class ServerOptions : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    inputMethod_ = CreateInputMethod();
    ASSERT_NE(inputMethod_, nullptr);
    ASSERT_EQ(inputMethod_->Select(sip_), S_OK);
  }
  void TearDown() override {
    if (inputMethod_ != nullptr) inputMethod_->Deselect();
    wince::host::ClearUserActions();
    ServerTest::TearDown();
  }

  IInputMethod* inputMethod_ = nullptr;
};

TEST_F(ServerOptions, ClosedWithoutAChangeNothingIsReloaded) {
  wince::host::UserClick(IDOK);
  EXPECT_EQ(inputMethod_->UserOptionsDlg(sip_), S_OK);
  wince::host::UserActivateAnotherWindow();
  EXPECT_EQ(inputMethod_->UserOptionsDlg(sip_), S_OK);
  EXPECT_TRUE(wince::host::SipCalls().empty());
  Tap(A_KEY);
  EXPECT_EQ(callback_.calls, (Calls{"char 'a' flags 0x80"}));
}

TEST_F(ServerOptions, AnotherLanguageIsLoadedWithThePanelOffMeanwhile) {
  WriteKeyboard("Second", u'z');
  wince::host::UserChoose(IDC_LANGUAGE_LIST, u"Second");
  wince::host::UserClick(IDOK);
  EXPECT_EQ(inputMethod_->UserOptionsDlg(sip_), S_OK);
  EXPECT_EQ(SipCallLines(), (Calls{"current: this", "show off", "show on"}));
  Tap(A_KEY);
  EXPECT_EQ(callback_.calls, (Calls{"char 'z' flags 0x80"}));
}

TEST_F(ServerOptions, AFailedReloadLeavesThePanelOff) {
  WriteKeyboard("Second", u'z');
  wince::host::UserChoose(IDC_LANGUAGE_LIST, u"Second");
  // The chosen keyboard breaks while the dialog is open.
  wince::host::UserDoes([&](HWND) {
    std::filesystem::resize_file(device_ / "Program Files/Tapora SIP/Second/keyboard.kbf", 10);
  });
  wince::host::UserClick(IDOK);
  EXPECT_EQ(inputMethod_->UserOptionsDlg(sip_), E_FAIL);
  EXPECT_EQ(SipCallLines(), (Calls{"current: this", "show off"}));
}

TEST_F(ServerOptions, TheDialogAsTheUserSeesIt) {
  WriteKeyboard("Second", u'z');
  bool saved = false;
  wince::host::UserDoes([&](HWND dialog) {
    saved = wince::host::SaveWindowWithFramePng(dialog, OPTIONS_DIALOG_PNG);
  });
  wince::host::UserClick(IDCANCEL);
  EXPECT_EQ(inputMethod_->UserOptionsDlg(sip_), S_OK);
  EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace server_test
