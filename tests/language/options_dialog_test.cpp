// The options dialog driven as a user would: a language tree on the device,
// the dialog run modally over a screen window with the user's steps queued
// before it opens, and what it shows and leaves behind compared whole.
#include <string>
#include <vector>

#include "input/tap_handling.h"
#include "language/keyboard_selection.h"
#include "language/options_dialog.h"
#include "tests/language/language_fixture.h"
#include "tests/language/options_template.h"
#include "wince/host/device.h"
#include "wince/host/dialogs.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"
#include "wince/host/windows.h"

namespace language_test {
namespace {

using tapora::KeyboardSelection;
using wince::host::Utf8;

const std::string kBase = std::string(kBaseFolder) + "/";
const std::u16string kBasePath = u"\\Program Files\\Tapora SIP";
const std::string kMissingInfo = "Error Loading File|Missing \"info\" file|16\n";
// Its folder's path fits; with "\*.*" after it, it would be cut to "\*".
const std::string kLongLanguage(231, 'x');

std::string Owned(const std::string& caption, const std::string& text, int type = MB_ICONSTOP) {
  return caption + "|" + text + "|" + std::to_string(type) + "|owned\n";
}

// Choosing text in a list, or clicking control (kDeactivate: tapping another
// window; kLook: noting what the dialog shows).
struct Step {
  int control;
  std::u16string text = u"";
};
constexpr int kDeactivate = 0;
constexpr int kLook = -1;

std::string ItemText(HWND dialog, int id, LRESULT index) {
  WCHAR text[tapora::PATH_UNITS] = {};
  SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return Utf8(text);
}

// "language/layout [layouts] 203 204 205", as the dialog shows them.
std::string Look(HWND dialog) {
  auto selected = [&](int id) {
    return ItemText(dialog, id, SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
  };
  std::string look = selected(201) + "/" + selected(202) + " [";
  for (LRESULT i = 0, n = SendDlgItemMessageW(dialog, 202, CB_GETCOUNT, 0, 0); i < n; ++i) {
    look += (i ? " " : "") + ItemText(dialog, 202, i);
  }
  look += "]";
  for (int id = 203; id <= 205; ++id) look += " " + std::to_string(IsDlgButtonChecked(dialog, id));
  return look;
}

class OptionsDialogTest : public LanguageTest {
 protected:
  void SetUp() override {
    LanguageTest::SetUp();
    wince::host::ClearUserActions();
    tapora::ReloadRequested = 0;
    tapora::TypematicEnabled = 0;
    for (const auto& [path, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"info", "English"}, {"English/info", "qwerty.kbf"}, {"English/qwerty.kbf", "k"},
             {"English/compact2.kbf", "k"}, {"English/notes.txt", "n"},
             {"French/info", "azerty.kbf"}, {"French/azerty.kbf", "k"}, {"French/bepo.KBF", "k"},
             {"German/qwertz.kbf", "k"}, {"German/keyboard.kbf", "k"},
             {"Italian/info", "dvorak.kbf"}, {"Italian/qwerty.kbf", "k"}, {"Notes/readme.txt", "n"},
             {kLongLanguage + "/layout.kbf", "k"}}) {
      WriteBytes(kBase + path, bytes);
    }
    MakeFolder(kBase + "Empty");
    Select(u"English", u"qwerty.kbf");
  }
  void TearDown() override {
    wince::host::ClearUserActions();
    wince::host::ResetWindows();
    EXPECT_EQ(wince::host::OpenFindHandles(), 0);
    tapora::ReloadRequested = 0;
    tapora::TypematicEnabled = 0;
    KeyboardSelection = tapora::KeyboardSelectionRecord{};
    LanguageTest::TearDown();
  }

  static void Select(const std::u16string& language, const std::u16string& layout,
                     const std::u16string& base = kBasePath) {
    KeyboardSelection = tapora::KeyboardSelectionRecord{};
    base.copy(KeyboardSelection.baseFolder, base.size());
    language.copy(KeyboardSelection.languageName, language.size());
    layout.copy(KeyboardSelection.layoutFile, layout.size());
  }

  // Queues the steps, then runs the dialog until it ends.
  void Run(const std::vector<Step>& steps, const std::vector<WORD>& dialog = OptionsTemplate()) {
    for (const Step& step : steps) {
      if (step.control == kLook) {
        wince::host::UserDoes([this](HWND dialog) { look_ = Look(dialog); });
      } else if (step.control == kDeactivate) {
        wince::host::UserActivateAnotherWindow();
      } else if (step.text.empty()) {
        wince::host::UserClick(step.control);
      } else {
        wince::host::UserChoose(step.control, step.text);
      }
    }
    HWND screen = wince::host::CreateScreen(240, 320);
    result_ = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()),
                                      screen, tapora::OptionsDialogProc, 0);
  }
  // The dialog after the steps, closed with Cancel; empty when it had closed before.
  std::string LookAfter(std::vector<Step> steps) {
    look_.clear();
    steps.insert(steps.end(), {{kLook}, {IDCANCEL}});
    Run(steps);
    return look_;
  }
  // Result, ReloadRequested, TypematicEnabled, the names, and the "info" of
  // the base folder, of English and of French.
  std::string Outcome() const {
    return std::to_string(result_) + " " + std::to_string(tapora::ReloadRequested) + " " +
           std::to_string(tapora::TypematicEnabled) + " " + Utf8(KeyboardSelection.languageName) +
           " " + Utf8(KeyboardSelection.layoutFile) + " | " + ReadBytes(kBase + "info") + " | " +
           ReadBytes(kBase + "English/info") + " | " + ReadBytes(kBase + "French/info");
  }

  INT_PTR result_ = -1;
  std::string look_;
};

TEST_F(OptionsDialogTest, OpensOnTheCurrentChoiceOrSaysWhyItCannot) {
  struct Case {
    std::u16string base, language, layout;
    BYTE typematic;
    std::string look, messages;  // no look: the dialog closed at once
  } cases[] = {
      {kBasePath, u"English", u"qwerty.kbf", 0, "English/qwerty [compact2 qwerty] 1 1 0", ""},
      {kBasePath, u"eNGLISH", u"QWERTY.kbf", 1, "English/qwerty [compact2 qwerty] 1 1 1", ""},
      // The first layout that begins with the name stands in for a missing one.
      {kBasePath, u"English", u"compact.kbf", 0, "English/compact2 [compact2 qwerty] 1 0 0", ""},
      {kBasePath, u"German", u"qwertz.kbf", 0, "German/qwertz [keyboard qwertz] 0 0 0", kMissingInfo},
      {kBasePath, u"", u"compact.kbf", 0, "", Owned("Error", "Please Select a Language from the Input Panel")},
      {u"\\Nowhere", u"English", u"qwerty.kbf", 0, "", Owned("Path Not Found", "\\Nowhere")},
      {kBasePath + u"\\info", u"English", u"qwerty.kbf", 0, "", Owned("Error", "No Languages Found")},
      {kBasePath + u"\\Notes", u"English", u"qwerty.kbf", 0, "", Owned("Error", "No Languages Found")},
      {kBasePath, u"Spanish", u"qwerty.kbf", 0, "", Owned("Error", "Current Language Not Found")},
      {kBasePath, u"Notes", u"readme.kbf", 0, "", Owned("Error", "No Layouts Found")},
      {kBasePath, u"Empty", u"qwerty.kbf", 0, "", Owned("Error", "Current Language Format Not Found")},
      {kBasePath, u"English", u"dvorak.kbf", 0, "", Owned("Error", "Current Language Format Not Found")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.base + u" " + c.language + u" " + c.layout));
    wince::host::ClearMessageBoxes();
    wince::host::ClearUserActions();
    Select(c.language, c.layout, c.base);
    tapora::TypematicEnabled = c.typematic;
    EXPECT_EQ(LookAfter({}), c.look);
    EXPECT_EQ(result_, c.look.empty() ? tapora::OPTIONS_DISMISSED : IDCANCEL);
    EXPECT_EQ(MessageLog(), c.messages);
  }
}

TEST_F(OptionsDialogTest, ChoicesRefreshTheLayoutsAndTheDefaultBoxes) {
  struct Case {
    std::vector<Step> steps;
    std::string look, messages, germanInfo;
  } cases[] = {
      {{{201, u"French"}}, "French/azerty [azerty bepo] 0 1 0", "", ""},
      // Without a default the language gets "keyboard", kept even after Cancel.
      {{{201, u"German"}}, "German/keyboard [keyboard qwertz] 0 1 0", kMissingInfo, "keyboard.kbf"},
      {{{201, u"French"}, {201, u"English"}}, "English/qwerty [compact2 qwerty] 1 1 0", "", ""},
      // Nothing to search: the layouts of the language before stay.
      {{{201, u"Empty"}}, "Empty/qwerty [compact2 qwerty] 1 1 0", "", ""},
      {{{201, wince::host::Utf16(kLongLanguage)}}, kLongLanguage + "/qwerty [compact2 qwerty] 1 1 0", "", ""},
      {{{201, u"Notes"}}, "", Owned("Error", "No Layouts Found"), ""},
      {{{201, u"Italian"}}, "", Owned("Error", "Current Language Format Not Found"), ""},
      // A layout is marked default only when it is its language's own.
      {{{202, u"compact2"}}, "English/compact2 [compact2 qwerty] 1 0 0", "", ""},
      {{{202, u"compact2"}, {202, u"qwerty"}}, "English/qwerty [compact2 qwerty] 1 1 0", "", ""},
      {{{201, u"French"}, {202, u"bepo"}}, "French/bepo [azerty bepo] 0 0 0", "", ""},
      {{{201, u"French"}, {202, u"bepo"}, {202, u"azerty"}}, "French/azerty [azerty bepo] 0 1 0", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.steps.back().text));
    wince::host::ClearMessageBoxes();
    wince::host::ClearUserActions();
    EXPECT_EQ(LookAfter(c.steps), c.look);
    EXPECT_EQ(result_, c.look.empty() ? tapora::OPTIONS_DISMISSED : IDCANCEL);
    EXPECT_EQ(MessageLog(), c.messages);
    EXPECT_EQ(ReadBytes(kBase + "German/info"), c.germanInfo);
    std::filesystem::remove(Host(kBase + "German/info"));
  }
}

TEST_F(OptionsDialogTest, OkStoresTheChoiceAndWritesTheCheckedDefaults) {
  struct Case {
    std::u16string layout;
    BYTE typematic;
    std::vector<Step> steps;
    std::string outcome;
  } cases[] = {
      {u"qwerty.kbf", 1, {{201, u"French"}, {203}, {IDCANCEL}}, "2 1 1 English qwerty.kbf | English | qwerty.kbf | azerty.kbf"},
      {u"qwerty.kbf", 1, {{202, u"compact2"}, {kDeactivate}}, "0 1 1 English qwerty.kbf | English | qwerty.kbf | azerty.kbf"},
      {u"qwerty.kbf", 1, {{203}, {204}, {IDOK}}, "1 0 1 English qwerty.kbf | English | qwerty.kbf | azerty.kbf"},
      // Defaults are written as the comparison left the names: upper-cased.
      {u"qwerty.kbf", 1, {{205}, {IDOK}}, "1 0 0 English qwerty.kbf | ENGLISH | QWERTY.KBF | azerty.kbf"},
      {u"qwerty.kbf", 0, {{201, u"French"}, {IDOK}}, "1 1 0 FRENCH azerty.kbf | English | qwerty.kbf | azerty.kbf"},
      {u"qwerty.kbf", 0, {{201, u"French"}, {203}, {IDOK}}, "1 1 0 FRENCH azerty.kbf | FRENCH | qwerty.kbf | azerty.kbf"},
      {u"qwerty.kbf", 0, {{202, u"compact2"}, {204}, {IDOK}}, "1 1 0 ENGLISH COMPACT2.KBF | ENGLISH | COMPACT2.KBF | azerty.kbf"},
      {u"compact.kbf", 0, {{IDOK}}, "1 1 0 ENGLISH COMPACT2.KBF | ENGLISH | qwerty.kbf | azerty.kbf"},
  };
  for (const Case& c : cases) {
    WriteBytes(kBase + "info", "English");
    WriteBytes(kBase + "English/info", "qwerty.kbf");
    Select(u"English", c.layout);
    tapora::TypematicEnabled = c.typematic;
    tapora::ReloadRequested = 1;  // left from before: only OK settles it
    Run(c.steps);
    EXPECT_EQ(Outcome(), c.outcome);
  }
  EXPECT_EQ(MessageLog(), "");
}

TEST_F(OptionsDialogTest, MissingListIsReportedAndOkThenChangesNothing) {
  for (int missing : {201, 202}) {
    wince::host::ClearMessageBoxes();
    tapora::ReloadRequested = 1;
    Run({{IDOK}}, OptionsTemplate({missing}));
    EXPECT_EQ(Outcome(), "1 0 0 English qwerty.kbf | English | qwerty.kbf | azerty.kbf");
    EXPECT_EQ(MessageLog(),
              Owned("Failed Control Creation", "Could not create the combo box", MB_OK));
  }
}

}  // namespace
}  // namespace language_test
