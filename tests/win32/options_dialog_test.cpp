// The options dialog run by UserOptionsDlg, driven through its real controls
// as a user's choices drive them: a selection in a list comes with the
// CBN_SELCHANGE notification, buttons are clicked.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "tests/win32/platform_differences.h"
#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

constexpr int LANGUAGE_LIST = 201;
constexpr int LAYOUT_LIST = 202;
constexpr int DEFAULT_LANGUAGE = 203;
constexpr int DEFAULT_LAYOUT = 204;
constexpr int TYPEMATIC = 205;

std::vector<std::string> Items(HWND dialog, int list) {
  std::vector<std::string> items;
  const LRESULT count = SendDlgItemMessageW(dialog, list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[260] = L"";
    SendDlgItemMessageW(dialog, list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    char narrow[260] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    items.emplace_back(narrow);
  }
  return items;
}

std::string Selected(HWND dialog, int list) {
  const LRESULT at = SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
  if (at == CB_ERR) return "";
  return Items(dialog, list).at(at);
}

bool Checked(HWND dialog, int box) {
  return SendDlgItemMessageW(dialog, box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The user picks an item of a list.
void Choose(HWND dialog, int list, const wchar_t* item) {
  HWND control = GetDlgItem(dialog, list);
  const LRESULT at = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(item));
  SendMessageW(control, CB_SETCURSEL, at, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
}

void Click(HWND dialog, int button) { SendDlgItemMessageW(dialog, button, BM_CLICK, 0, 0); }

std::string ReadInfo(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class OptionsDialog : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallProduct());
    ASSERT_EQ(RegisterInstalledServer(), S_OK);
    im_ = std::make_unique<SelectedInputMethod>();
    ASSERT_TRUE(im_->ok());
    TakeSipCalls();
  }
  // The dialog may have written "info" files: later tests start from the product.
  void TearDown() override {
    im_.reset();
    InstallProduct();
  }

  HRESULT Run(std::function<void(HWND)> script) {
    boxes_.dialogScript = std::move(script);
    const HRESULT result = im_->method()->UserOptionsDlg(im_->sip);
    im_->Pump();
    return result;
  }

  MessageBoxCatcher boxes_;
  std::unique_ptr<SelectedInputMethod> im_;
};

TEST_F(OptionsDialog, OpensOnTheCurrentChoiceAndCancelChangesNothing) {
  std::vector<std::string> languages, layouts;
  bool defaultLanguage = false, defaultLayout = false, typematic = false;
  std::string language, layout;
  EXPECT_EQ(Run([&](HWND dialog) {
              languages = Items(dialog, LANGUAGE_LIST);
              layouts = Items(dialog, LAYOUT_LIST);
              language = Selected(dialog, LANGUAGE_LIST);
              layout = Selected(dialog, LAYOUT_LIST);
              defaultLanguage = Checked(dialog, DEFAULT_LANGUAGE);
              defaultLayout = Checked(dialog, DEFAULT_LAYOUT);
              typematic = Checked(dialog, TYPEMATIC);
              Click(dialog, IDCANCEL);
            }),
            S_OK);
  const std::vector<std::string> bundled = {"French", "German", "Keyboard"};
  EXPECT_EQ(WithoutDesktopDirectoryEntries(languages), bundled);
  // Only those two entries may come on top, and only where the platform lists them.
  EXPECT_EQ(languages.size(), bundled.size() + (DesktopListsDirectoryEntries() ? 2 : 0));
  EXPECT_EQ(layouts, (std::vector<std::string>{"keyboard", "sy"}));
  EXPECT_EQ(language, "Keyboard");
  EXPECT_EQ(layout, "keyboard");
  EXPECT_TRUE(defaultLanguage);
  EXPECT_TRUE(defaultLayout);
  EXPECT_TRUE(typematic);
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_TRUE(TakeSipCalls().empty());
}

TEST_F(OptionsDialog, ChoosingGermanSelectsItsDefaultAndOkReloads) {
  std::string layout;
  std::vector<std::string> layouts;
  bool defaultLayout = false, defaultLanguage = true;
  EXPECT_EQ(Run([&](HWND dialog) {
              Choose(dialog, LANGUAGE_LIST, L"German");
              layouts = Items(dialog, LAYOUT_LIST);
              layout = Selected(dialog, LAYOUT_LIST);
              defaultLayout = Checked(dialog, DEFAULT_LAYOUT);
              defaultLanguage = Checked(dialog, DEFAULT_LANGUAGE);
              Click(dialog, DEFAULT_LANGUAGE);
              Click(dialog, IDOK);
            }),
            S_OK);
  EXPECT_FALSE(defaultLanguage);
  EXPECT_EQ(layouts, std::vector<std::string>{"qwertz"});
  EXPECT_EQ(layout, "qwertz");
  EXPECT_TRUE(defaultLayout);
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_EQ(TakeSipCalls(),
            (std::vector<std::string>{"SipSetCurrentIM {26CA1951-5391-48C1-AC94-17CF92B65759}",
                                      "SipShowIM 0", "SipShowIM 1"}));
  // Both boxes were checked: the language is stored as the comparison left it,
  // upper-cased; the layout as the list names its file.
  EXPECT_EQ(ReadInfo("C:\\Program Files\\Tapora SIP\\info"), "GERMAN");
  EXPECT_EQ(ReadInfo("C:\\Program Files\\Tapora SIP\\German\\info"), "qwertz.kbf");
  // The German keyboard is the one loaded now: AltGr, then e.
  im_->events.calls.clear();
  im_->Tap(161, 72);
  im_->Tap(69, 24);
  EXPECT_EQ(im_->events.calls, std::vector<std::string>{"char '\u20AC' flags 0x80"});
}

TEST_F(OptionsDialog, UncheckedTypematicStopsRepeat) {
  EXPECT_EQ(Run([&](HWND dialog) {
              Click(dialog, TYPEMATIC);
              Click(dialog, IDOK);
            }),
            S_OK);
  EXPECT_TRUE(TakeSipCalls().empty());
  im_->events.calls.clear();
  im_->Down(35, 8);
  for (int tick = 0; tick < 8; ++tick) im_->Tick();
  im_->Up(35, 8);
  EXPECT_EQ(im_->events.calls, std::vector<std::string>{"char 'q' flags 0x80"});
}

// A dialog still open half a second after the script is cancelled, and says so.
HWND OpenDialog = nullptr;
bool Rescued = false;
void CALLBACK Rescue(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (IsWindow(OpenDialog)) {
    Rescued = true;
    PostMessageW(OpenDialog, WM_COMMAND, IDCANCEL, 0);
  }
}

TEST_F(OptionsDialog, AnotherWindowActivatedEndsItLikeCancel) {
  Rescued = false;
  EXPECT_EQ(Run([&](HWND dialog) {
              Choose(dialog, LANGUAGE_LIST, L"German");
              // The user taps outside the dialog, on the SIP window.
              SetActiveWindow(im_->sip);
              OpenDialog = dialog;
              SetTimer(nullptr, 0, 500, Rescue);
            }),
            S_OK);
  EXPECT_FALSE(Rescued) << "the dialog stayed open when it lost the activation";
  EXPECT_TRUE(TakeSipCalls().empty());
  EXPECT_TRUE(boxes_.boxes.empty());
  // Still the English keyboard.
  im_->events.calls.clear();
  im_->Tap(35, 8);
  EXPECT_EQ(im_->events.calls, std::vector<std::string>{"char 'q' flags 0x80"});
}

TEST_F(OptionsDialog, LanguageWithoutLayoutsShowsItsMessage) {
  CreateDirectoryW(L"C:\\Program Files\\Tapora SIP\\Notes", nullptr);
  std::ofstream("C:\\Program Files\\Tapora SIP\\Notes\\readme.txt") << "no keyboards here";
  EXPECT_EQ(Run([&](HWND dialog) { Choose(dialog, LANGUAGE_LIST, L"Notes"); }), S_OK);
  EXPECT_EQ(boxes_.boxes, std::vector<std::string>{"Error: No Layouts Found"});
  EXPECT_TRUE(TakeSipCalls().empty());
}

}  // namespace
}  // namespace wine_test
