// The input-method library's resources as the resource compiler built them
// (resources/tapora.rc), read back through the host's module loader from
// TAPRES.DLL: the options dialog's template field by field, the SIP images,
// the icon group, the version block, and a damaged copy of the module.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "resources/resource_ids.h"
#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/surface.h"

namespace {

class TaporaResTest : public DeviceFolderTest {
 protected:
  void SetUp() override {
    DeviceFolderTest::SetUp();
    MakeHostFolder("Windows");
    std::filesystem::copy_file(TAPRES_MODULE, Host("Windows/TAPRES.DLL"));
    module_ = LoadLibraryW(u"\\Windows\\TAPRES.DLL");
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    DeviceFolderTest::TearDown();
  }

  // The bytes of a resource as the system sees them.
  std::vector<BYTE> Bytes(LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module_, name, type);
    if (!found) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    return std::vector<BYTE>(data, data + SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

// Reads a template's WORD-packed fields; a read past the end sets `past`.
struct Fields {
  const std::vector<BYTE>& bytes;
  size_t at = 0;
  bool past = false;

  WORD Word() {
    if (at > bytes.size() || bytes.size() - at < 2) return past = true, 0;
    at += 2;
    return static_cast<WORD>(bytes[at - 2] | bytes[at - 1] << 8);
  }
  DWORD Dword() { return Word() | DWORD{Word()} << 16; }
  std::vector<short> Place() {  // x, y, cx, cy
    std::vector<short> place(4);
    for (short& v : place) v = static_cast<short>(Word());
    return place;
  }
  // A string, or "#N" for 0xFFFF and an ordinal; "" for a lone 0.
  std::u16string Text() {
    WORD first = Word();
    if (first == 0xFFFF) {
      std::string number = std::to_string(Word());
      return u"#" + std::u16string(number.begin(), number.end());
    }
    std::u16string text;
    for (WORD c = first; c != 0 && !past; c = Word()) text.push_back(c);
    return text;
  }
  void AlignDword() { at = (at + 3) & ~size_t{3}; }
};

struct Control {
  DWORD style;
  WORD id;
  const char16_t* atom;  // the predefined class, as "#N"
  const char16_t* text;  // the title, or "#N" for an icon's resource
  short x, y, cx, cy;
};

// The documented values, written out so that the table checks the compiled
// bytes against the platform rather than against the host's own headers.
constexpr DWORD kChild = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
constexpr DWORD kTabStop = 0x00010000, kGroup = 0x00020000, kVScroll = 0x00200000;
constexpr DWORD kPushButton = 0x0, kAutoCheckBox = 0x3;         // BS_*
constexpr DWORD kDropDownList = 0x3, kSort = 0x100;             // CBS_*
constexpr DWORD kLeft = 0x0, kIcon = 0x3;                       // SS_*
constexpr WORD kOk = 1, kCancel = 2, kStatic = 0xFFFF;          // IDOK, IDCANCEL, -1
const Control kOptionsControls[] = {
    {kChild | kPushButton | kTabStop, kOk, u"#128", u"OK", 72, 7, 50, 14},
    {kChild | kDropDownList | kSort | kVScroll | kTabStop, IDC_LANGUAGE_LIST, u"#133", u"", 4, 49, 79, 48},
    {kChild | kLeft | kGroup, kStatic, u"#130", u"Select A Language:", 4, 40, 65, 8},
    {kChild | kPushButton | kTabStop, kCancel, u"#128", u"Cancel", 72, 24, 50, 14},
    {kChild | kLeft | kGroup, kStatic, u"#130", u"Select A Layout:", 4, 64, 91, 8},
    {kChild | kDropDownList | kSort | kVScroll | kGroup | kTabStop, IDC_LAYOUT_LIST, u"#133", u"", 4, 72,
     79, 48},
    {kChild | kIcon, kStatic, u"#130", u"#205", 4, 14, 21, 20},
    {kChild | kLeft | kGroup, kStatic, u"#130", u"Tapora\u00AE", 29, 23, 40, 8},
    {kChild | kAutoCheckBox | kTabStop, IDC_DEFAULT_LANGUAGE, u"#128", u"Default", 86, 51, 36, 10},
    {kChild | kAutoCheckBox | kTabStop, IDC_DEFAULT_LAYOUT, u"#128", u"Default", 86, 73, 36, 10},
    {kChild | kAutoCheckBox | kTabStop, IDC_TYPEMATIC, u"#128", u"Enable Typematic", 27, 90, 77, 10},
};

TEST_F(TaporaResTest, OptionsDialogTemplateIsExactlyTheLayout) {
  const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG);
  ASSERT_FALSE(bytes.empty());
  Fields f{bytes};
  EXPECT_EQ(f.Dword(), 0x80C00A40u);  // WS_POPUP | WS_CAPTION | DS_CENTER | DS_SETFOREGROUND | DS_SETFONT
  EXPECT_EQ(f.Dword(), 0u);
  const WORD count = f.Word();
  ASSERT_EQ(count, std::size(kOptionsControls));
  EXPECT_EQ(f.Place(), (std::vector<short>{0, 0, 127, 105}));
  EXPECT_EQ(f.Text(), u"");  // no menu
  EXPECT_EQ(f.Text(), u"");  // the dialog class
  EXPECT_EQ(f.Text(), u"Tapora Input Panel");
  EXPECT_EQ(f.Word(), 8);
  EXPECT_EQ(f.Text(), u"System");
  for (size_t i = 0; i < std::size(kOptionsControls); ++i) {
    const Control& want = kOptionsControls[i];
    SCOPED_TRACE(testing::Message() << "control " << i << " of the template");
    f.AlignDword();
    EXPECT_EQ(f.Dword(), want.style);
    EXPECT_EQ(f.Dword(), 0u);  // extended style
    EXPECT_EQ(f.Place(), (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    EXPECT_EQ(f.Word(), want.id);
    EXPECT_EQ(f.Text(), want.atom);
    EXPECT_EQ(f.Text(), want.text);
    EXPECT_EQ(f.Word(), 0);  // no creation data
  }
  EXPECT_FALSE(f.past);
  EXPECT_EQ(f.at, bytes.size());
}

TEST_F(TaporaResTest, SipImagesAreKeyboardsOnTheMaskColour) {
  const struct {
    int id, width, height;
  } images[] = {{IDB_NARROW_IMAGE, 16, 16}, {IDB_WIDE_IMAGE, 32, 16}};
  const COLORREF mask = RGB(192, 192, 192);
  for (const auto& image : images) {
    SCOPED_TRACE(image.id);
    HBITMAP bitmap = LoadBitmapW(module_, MAKEINTRESOURCEW(image.id));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, image.width);
    EXPECT_EQ(bm.bmHeight, image.height);
    auto view = wince::host::ViewOfBitmap(bitmap);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->At(0, 0), mask);
    EXPECT_EQ(view->At(image.width - 1, image.height - 1), mask);
    // A dark body with white keys takes most of the picture.
    int keys = 0, drawn = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        keys += view->At(x, y) == RGB(255, 255, 255);
        drawn += view->At(x, y) != mask;
      }
    EXPECT_GT(keys, image.width);
    EXPECT_GT(drawn, image.width * image.height / 2);
    DeleteObject(bitmap);
  }
}

TEST_F(TaporaResTest, OptionsIconGroupNamesItsImages) {
  const std::vector<BYTE> group = Bytes(MAKEINTRESOURCEW(IDI_OPTIONS_ICON), RT_GROUP_ICON);
  Fields f{group};
  EXPECT_EQ(f.Word(), 0);  // reserved
  EXPECT_EQ(f.Word(), 1);  // icons
  const WORD count = f.Word();
  ASSERT_EQ(count, 2);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const WORD wh = f.Word();
    const int width = wh & 0xFF, height = wh >> 8;
    f.Word();  // colours, reserved
    f.Word();  // planes
    EXPECT_EQ(f.Word(), 4);  // bits per pixel
    const DWORD bytes = f.Dword();
    const WORD id = f.Word();
    sizes.push_back(width);
    const std::vector<BYTE> image = Bytes(MAKEINTRESOURCEW(id), RT_ICON);
    ASSERT_EQ(image.size(), bytes);
    Fields header{image};
    EXPECT_EQ(header.Dword(), 40u);
    EXPECT_EQ(header.Dword(), static_cast<DWORD>(width));
    EXPECT_EQ(header.Dword(), static_cast<DWORD>(2 * height));  // colour rows and mask rows
  }
  EXPECT_FALSE(f.past);
  EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

// A version block node: key, value and children, as VS_VERSIONINFO nests them.
struct VersionNode {
  std::u16string key;
  std::vector<BYTE> value;
  std::vector<VersionNode> children;
};

bool ReadVersionNode(const std::vector<BYTE>& bytes, size_t at, VersionNode& node) {
  Fields f{bytes, at};
  const size_t length = f.Word(), valueLength = f.Word(), type = f.Word();
  if (f.past || length < 6 || length > bytes.size() - at) return false;
  node.key = f.Text();
  f.AlignDword();
  const size_t valueBytes = type == 1 ? valueLength * 2 : valueLength;
  if (f.past || f.at + valueBytes > at + length) return false;
  node.value.assign(bytes.begin() + f.at, bytes.begin() + f.at + valueBytes);
  f.at += valueBytes;
  for (f.AlignDword(); f.at < at + length; f.AlignDword()) {
    VersionNode child;
    if (!ReadVersionNode(bytes, f.at, child)) return false;
    f.at += Fields{bytes, f.at}.Word();
    node.children.push_back(std::move(child));
  }
  return true;
}

std::u16string ValueText(const VersionNode& node) {
  std::u16string text;
  for (size_t i = 0; i + 1 < node.value.size(); i += 2) {
    char16_t c = static_cast<char16_t>(node.value[i] | node.value[i + 1] << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

TEST_F(TaporaResTest, VersionBlockIsTwoSeventeen) {
  const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(1), RT_VERSION);
  VersionNode root;
  ASSERT_TRUE(ReadVersionNode(bytes, 0, root));
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52u);
  Fields fixed{root.value};
  EXPECT_EQ(fixed.Dword(), 0xFEEF04BDu);
  fixed.Dword();  // structure version
  EXPECT_EQ(fixed.Dword(), 0x00020011u);  // file version 2.17.0.0
  EXPECT_EQ(fixed.Dword(), 0u);
  EXPECT_EQ(fixed.Dword(), 0x00020011u);  // product version
  EXPECT_EQ(fixed.Dword(), 0u);

  std::map<std::u16string, std::u16string> strings;
  std::vector<BYTE> translation;
  for (const VersionNode& block : root.children) {
    for (const VersionNode& child : block.children) {
      if (block.key == u"StringFileInfo" && child.key == u"040904B0")
        for (const VersionNode& s : child.children) strings[s.key] = ValueText(s);
      if (block.key == u"VarFileInfo" && child.key == u"Translation") translation = child.value;
    }
  }
  const std::map<std::u16string, std::u16string> expected = {
      {u"FileDescription", u"Tapora SIP input method"},
      {u"FileVersion", u"2.17"},
      {u"ProductName", u"Tapora SIP"},
      {u"ProductVersion", u"2.17"}};
  EXPECT_EQ(strings, expected);
  EXPECT_EQ(translation, (std::vector<BYTE>{0x09, 0x04, 0xB0, 0x04}));  // 0x0409, code page 1200
}

// A copy of the module whose .res image says its first resource runs far
// past the end: it still loads, but offers no resources, and says why.
TEST_F(TaporaResTest, DamagedResourceImageLeavesTheModuleWithoutResources) {
  std::ifstream in(TAPRES_MODULE, std::ios::binary);
  std::string file(std::istreambuf_iterator<char>(in), {});
  const char emptyEntry[32] = {0, 0, 0, 0, 0x20, 0, 0, 0, '\xFF', '\xFF', 0, 0, '\xFF', '\xFF', 0, 0};
  // The image, and in a debug build its copy in the debug information.
  const std::string marker(emptyEntry, sizeof(emptyEntry));
  int images = 0;
  for (size_t at = file.find(marker); at != std::string::npos; at = file.find(marker, at + 1), ++images)
    std::memcpy(&file[at + 32], "\xF0\xFF\xFF\x7F", 4);  // DataSize of the first resource
  ASSERT_GE(images, 1);
  WriteHost("Windows/BROKEN.DLL", file);

  testing::internal::CaptureStderr();
  HMODULE broken = LoadLibraryW(u"\\Windows\\BROKEN.DLL");
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_NE(broken, nullptr);
  EXPECT_NE(said.find("\\Windows\\BROKEN.DLL"), std::string::npos) << said;
  EXPECT_NE(said.find("byte 32"), std::string::npos) << said;
  EXPECT_NE(said.find("past the end"), std::string::npos) << said;
  for (LPCWSTR type : {RT_DIALOG, RT_BITMAP, RT_VERSION}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(FindResourceW(broken, MAKEINTRESOURCEW(IDD_OPTIONS), type), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  }
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadBitmapW(broken, MAKEINTRESOURCEW(IDB_NARROW_IMAGE)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  // The sound module beside it is not affected.
  EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG), nullptr);
  EXPECT_TRUE(FreeLibrary(broken));
}

}  // namespace
