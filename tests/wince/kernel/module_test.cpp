// Conformance of modules: LoadLibraryW of STOCK.DLL and of a plain host
// library from the device folder, load counts, file names, exports,
// resources, LoadBitmapW, and the packed-DIB conversion behind it.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/modules.h"
#include "wince/host/surface.h"

namespace {

namespace fs = std::filesystem;

// STOCK.DLL as the build installs it: <build>/device/Windows/STOCK.DLL, a
// few folders above this test program.
fs::path BuiltStockDll() {
  fs::path dir = fs::read_symlink("/proc/self/exe").parent_path();
  for (int up = 0; up < 4; ++up, dir = dir.parent_path()) {
    fs::path candidate = dir / "device" / "Windows" / "STOCK.DLL";
    if (fs::exists(candidate)) return candidate;
  }
  return {};
}

// TESTMOD.DLL, built beside this test program.
fs::path BuiltTestModule() {
  fs::path dir = fs::read_symlink("/proc/self/exe").parent_path();
  if (fs::exists(dir / "TESTMOD.DLL")) return dir / "TESTMOD.DLL";
  for (int up = 0; up < 4; ++up, dir = dir.parent_path()) {
    fs::path candidate = dir / "tests" / "wince" / "TESTMOD.DLL";
    if (fs::exists(candidate)) return candidate;
  }
  return {};
}

// The host's maths library, a shared object with exports and no resources.
fs::path HostMathLibrary() {
  void* handle = dlopen("libm.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!handle) handle = dlopen("libm.so.6", RTLD_NOW);
  link_map* map = nullptr;
  if (!handle || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return {};
  return fs::path(map->l_name);
}

class ModuleTest : public DeviceFolderTest {
 protected:
  void SetUp() override {
    DeviceFolderTest::SetUp();
    fs::path stock = BuiltStockDll();
    ASSERT_FALSE(stock.empty()) << "STOCK.DLL is not built: build the stock_dll target";
    MakeHostFolder("Windows");
    fs::copy_file(stock, Host("Windows/STOCK.DLL"));
    modulesAtStart_ = wince::host::LoadedModules();
  }
  void TearDown() override {
    EXPECT_EQ(wince::host::LoadedModules(), modulesAtStart_) << "a test left a module loaded";
    DeviceFolderTest::TearDown();
  }

  std::u16string FileName(HMODULE module) {
    WCHAR buffer[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(module, buffer, MAX_PATH);
    return std::u16string(buffer, n);
  }

  size_t modulesAtStart_ = 0;
};

TEST_F(ModuleTest, LoadsByDevicePathAndReportsItsFileName) {
  SetLastError(0xdeadbeef);
  HMODULE stock = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_EQ(FileName(stock), u"\\Windows\\STOCK.DLL");
  EXPECT_EQ(GetModuleHandleW(u"stock.dll"), stock);
  EXPECT_EQ(GetModuleHandleW(u"\\WINDOWS\\Stock.Dll"), stock);
  EXPECT_TRUE(FreeLibrary(stock));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetModuleHandleW(u"stock.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleTest, LoadsAreCountedPerFileUnderAnySpelling) {
  HMODULE a = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  HMODULE b = LoadLibraryW(u"\\windows\\stock.dll");
  // A bare name is looked for in \Windows; a name without an extension
  // gets ".dll".
  HMODULE c = LoadLibraryW(u"STOCK.DLL");
  HMODULE d = LoadLibraryW(u"stock");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(a, d);
  EXPECT_EQ(wince::host::ModuleReferences(a), 4);
  EXPECT_EQ(wince::host::LoadedModules(), modulesAtStart_ + 1);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(FreeLibrary(a));
  EXPECT_EQ(wince::host::ModuleReferences(a), 0);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(FreeLibrary(a));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleTest, ALoadedModulesFileCannotBeDeleted) {
  HMODULE stock = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  ASSERT_NE(stock, nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteFileW(u"\\Windows\\STOCK.DLL"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  FreeLibrary(stock);
  EXPECT_TRUE(DeleteFileW(u"\\Windows\\STOCK.DLL"));
}

TEST_F(ModuleTest, MissingAndBrokenModules) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\NOPE.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadLibraryW(u"\\Missing\\STOCK.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadLibraryW(u"\\Windows"), nullptr);  // a folder
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  WriteHost("Windows/TEXT.DLL", "not a module at all");
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\TEXT.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  EXPECT_TRUE(DeleteFileW(u"\\Windows\\TEXT.DLL"));  // a failed load holds nothing
}

TEST_F(ModuleTest, GetModuleFileNameCutsAndTerminates) {
  HMODULE stock = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  WCHAR small[5];
  std::memset(small, 0x55, sizeof(small));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetModuleFileNameW(stock, small, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(small), u"\\Win");
  // Exactly enough room for the name and its NUL.
  WCHAR exact[19];
  EXPECT_EQ(GetModuleFileNameW(stock, exact, 19), 18u);
  EXPECT_EQ(std::u16string(exact), u"\\Windows\\STOCK.DLL");
  FreeLibrary(stock);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetModuleFileNameW(stock, exact, 19), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  // NULL is the program's own module.
  EXPECT_EQ(FileName(nullptr), u"\\Windows\\host.exe");
  wince::host::SetMainModuleFileName(u"\\Windows\\sim.exe");
  EXPECT_EQ(FileName(nullptr), u"\\Windows\\sim.exe");
  EXPECT_EQ(FileName(GetModuleHandleW(nullptr)), u"\\Windows\\sim.exe");
  wince::host::SetMainModuleFileName(u"\\Windows\\host.exe");
}

TEST_F(ModuleTest, StockBitmapsAreTheHundredPixelKeyFaces) {
  HMODULE stock = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  ASSERT_NE(stock, nullptr);
  HBITMAP up = LoadBitmapW(stock, MAKEINTRESOURCEW(101));
  HBITMAP down = LoadBitmapW(stock, u"#103");
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  for (HBITMAP b : {up, down}) {
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(b, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 100);
    EXPECT_EQ(bm.bmHeight, 100);
    EXPECT_EQ(bm.bmBitsPixel, 32);
  }
  FreeLibrary(stock);
  // The bitmaps hold their own pixels: they outlive the module.
  auto upView = wince::host::ViewOfBitmap(up);
  auto downView = wince::host::ViewOfBitmap(down);
  ASSERT_TRUE(upView && downView);
  auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  // A light key when up, a darker pressed one when down, framed alike.
  EXPECT_GT(brightness(upView->At(50, 20)), brightness(downView->At(50, 20)));
  EXPECT_EQ(upView->At(0, 0), downView->At(0, 0));
  EXPECT_LT(brightness(upView->At(0, 50)), brightness(upView->At(50, 50)));
  DeleteObject(up);
  DeleteObject(down);
}

TEST_F(ModuleTest, ResourcesAreFoundByTypeAndName) {
  HMODULE stock = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  HRSRC found = FindResourceW(stock, MAKEINTRESOURCEW(101), RT_BITMAP);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(FindResourceW(stock, u"#101", u"#2"), found);
  // A packed DIB: a 40-byte header of a 100 x 100, 24-bit image, then rows.
  DWORD size = SizeofResource(stock, found);
  EXPECT_EQ(size, 40u + 100u * 300u);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(stock, found)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[0], 40);
  EXPECT_EQ(bytes[4], 100);
  EXPECT_EQ(bytes[8], 100);
  EXPECT_EQ(bytes[14], 24);

  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(stock, MAKEINTRESOURCEW(102), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(stock, MAKEINTRESOURCEW(101), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadBitmapW(stock, MAKEINTRESOURCEW(102)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(SizeofResource(stock, reinterpret_cast<HRSRC>(const_cast<BYTE*>(bytes))), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  FreeLibrary(stock);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(stock, MAKEINTRESOURCEW(101), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleTest, ExportsAreTheModulesOwnSymbolsOnly) {
  fs::path libm = HostMathLibrary();
  ASSERT_FALSE(libm.empty());
  fs::copy_file(libm, Host("Windows/MATH.DLL"));
  HMODULE math = LoadLibraryW(u"\\Windows\\MATH.DLL");
  ASSERT_NE(math, nullptr);
  auto cosine = reinterpret_cast<double (*)(double)>(reinterpret_cast<void*>(GetProcAddress(math, "cos")));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddressW(math, u"cos")), reinterpret_cast<void*>(cosine));
  // malloc is reachable through the C library it depends on, but no export.
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetProcAddress(math, "malloc"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GetProcAddress(math, reinterpret_cast<LPCSTR>(1)), nullptr);  // no ordinals
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  // A module without resources.
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(math, MAKEINTRESOURCEW(1), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(math));
}

class TestModuleTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    fs::path module = BuiltTestModule();
    ASSERT_FALSE(module.empty()) << "TESTMOD.DLL is not built: build the wince_test_module target";
    fs::copy_file(module, Host("Windows/TESTMOD.DLL"));
    log_ = Host("dllmain.log");
    setenv("WINCE_TEST_MODULE_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WINCE_TEST_MODULE_LOG");
    unsetenv("WINCE_TEST_MODULE_REFUSE");
    ModuleTest::TearDown();
  }
  std::string Log() const { return ReadHost("dllmain.log"); }
  fs::path log_;
};

TEST_F(TestModuleTest, DllMainRunsOnTheFirstLoadAndTheLastFree) {
  HMODULE a = LoadLibraryW(u"\\Windows\\TESTMOD.DLL");
  ASSERT_NE(a, nullptr);
  HMODULE b = LoadLibraryW(u"TESTMOD");
  EXPECT_EQ(a, b);
  EXPECT_EQ(Log(), "attach\n");
  auto answer = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(a, "TestModuleAnswer")));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  FreeLibrary(a);
  EXPECT_EQ(Log(), "attach\n");
  FreeLibrary(b);
  EXPECT_EQ(Log(), "attach\ndetach\n");
}

TEST_F(TestModuleTest, ARefusedAttachFailsTheLoad) {
  setenv("WINCE_TEST_MODULE_REFUSE", "1", 1);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\TESTMOD.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  // The loader detaches what it attached, and lets the file go.
  EXPECT_EQ(Log(), "attach\ndetach\n");
  EXPECT_TRUE(DeleteFileW(u"\\Windows\\TESTMOD.DLL"));
}

TEST_F(TestModuleTest, NamedResourcesAndTypes) {
  HMODULE module = LoadLibraryW(u"\\Windows\\TESTMOD.DLL");
  ASSERT_NE(module, nullptr);
  // Names compare without regard to case.
  HBITMAP face = LoadBitmapW(module, u"face");
  ASSERT_NE(face, nullptr);
  DeleteObject(face);
  const std::string greeting = "Hello from a test module.\n";
  for (HRSRC found : {FindResourceW(module, MAKEINTRESOURCEW(7), RT_RCDATA),
                      FindResourceW(module, u"Hello", u"GREETINGS")}) {
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(module, found);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    EXPECT_EQ(std::string(text, size), greeting);
  }
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(module, u"HELLO", u"GREETING"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  // A number does not find a name, nor "#7" a named resource.
  SetLastError(0xdeadbeef);
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(7), u"GREETINGS"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_NE(FindResourceW(module, u"#7", u"#10"), nullptr);
  FreeLibrary(module);
}

// ---- packed DIBs, as LoadBitmapW converts them

std::vector<BYTE> Dib(int width, int height, int bits, const std::vector<COLORREF>& palette,
                      const std::vector<BYTE>& pixels, uint32_t compression = 0) {
  std::vector<BYTE> out(40, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<BYTE>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(width));
  put32(8, static_cast<uint32_t>(height));
  out[12] = 1;
  out[14] = static_cast<BYTE>(bits);
  put32(16, compression);
  put32(32, static_cast<uint32_t>(palette.size()));
  for (COLORREF c : palette) {
    out.push_back(GetBValue(c));
    out.push_back(GetGValue(c));
    out.push_back(GetRValue(c));
    out.push_back(0);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

TEST(PackedDib, DepthsPalettesAndRowOrder) {
  // 4 bits, 3 x 2, bottom-up: the first stored row is the bottom one.
  const COLORREF pal[3] = {RGB(1, 1, 1), RGB(200, 0, 0), RGB(0, 0, 200)};
  auto dib4 = Dib(3, 2, 4, {pal[0], pal[1], pal[2]}, {0x12, 0x00, 0, 0, 0x21, 0x10, 0, 0});
  HBITMAP b4 = wince::host::CreateBitmapFromPackedDib(dib4.data(), dib4.size());
  ASSERT_NE(b4, nullptr);
  auto v = wince::host::ViewOfBitmap(b4);
  EXPECT_EQ(v->At(0, 1), pal[1]);
  EXPECT_EQ(v->At(1, 1), pal[2]);
  EXPECT_EQ(v->At(2, 1), pal[0]);
  EXPECT_EQ(v->At(0, 0), pal[2]);
  EXPECT_EQ(v->At(1, 0), pal[1]);
  EXPECT_EQ(v->At(2, 0), pal[1]);
  DeleteObject(b4);

  // 8 bits, top-down, an index past the table reads black.
  auto dib8 = Dib(2, -1, 8, {RGB(5, 6, 7)}, {0, 9, 0, 0});
  HBITMAP b8 = wince::host::CreateBitmapFromPackedDib(dib8.data(), dib8.size());
  v = wince::host::ViewOfBitmap(b8);
  EXPECT_EQ(v->At(0, 0), RGB(5, 6, 7));
  EXPECT_EQ(v->At(1, 0), RGB(0, 0, 0));
  DeleteObject(b8);

  // 32 bits with the standard bit fields.
  // The three masks (red, green, blue) follow the header, then the pixel.
  auto dib32 = Dib(1, 1, 32, {},
                   {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0x30, 0x20, 0x10, 0}, 3);
  HBITMAP b32 = wince::host::CreateBitmapFromPackedDib(dib32.data(), dib32.size());
  ASSERT_NE(b32, nullptr);
  EXPECT_EQ(wince::host::ViewOfBitmap(b32)->At(0, 0), RGB(0x10, 0x20, 0x30));
  DeleteObject(b32);
}

TEST(PackedDib, BlackAndWhiteOneBitDibsBecomeMonochromeBitmaps) {
  auto bw = Dib(8, 1, 1, {RGB(0, 0, 0), RGB(255, 255, 255)}, {0xF0, 0, 0, 0});
  auto coloured = Dib(8, 1, 1, {RGB(0, 0, 0), RGB(255, 0, 0)}, {0xF0, 0, 0, 0});
  HBITMAP mono = wince::host::CreateBitmapFromPackedDib(bw.data(), bw.size());
  HBITMAP colour = wince::host::CreateBitmapFromPackedDib(coloured.data(), coloured.size());
  BITMAP bm{};
  GetObjectW(mono, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(wince::host::ViewOfBitmap(mono)->At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(wince::host::ViewOfBitmap(mono)->At(7, 0), RGB(0, 0, 0));
  GetObjectW(colour, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(wince::host::ViewOfBitmap(colour)->At(3, 0), RGB(255, 0, 0));
  DeleteObject(mono);
  DeleteObject(colour);
}

TEST(PackedDib, MalformedDibsAreRefused) {
  auto good = Dib(2, 2, 24, {}, std::vector<BYTE>(16, 0x7F));
  HBITMAP accepted = wince::host::CreateBitmapFromPackedDib(good.data(), good.size());
  ASSERT_NE(accepted, nullptr);
  DeleteObject(accepted);
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"truncated rows", std::vector<BYTE>(good.begin(), good.end() - 1)});
  cases.push_back({"short header", std::vector<BYTE>(good.begin(), good.begin() + 39)});
  cases.push_back({"zero width", Dib(0, 2, 24, {}, std::vector<BYTE>(16, 0))});
  cases.push_back({"16 bits", Dib(2, 2, 16, {}, std::vector<BYTE>(16, 0))});
  cases.push_back({"palette too large", Dib(2, 1, 1, {0, 0, 0}, std::vector<BYTE>(4, 0))});
  cases.push_back({"run-length", Dib(2, 1, 8, {}, std::vector<BYTE>(4, 0), 1)});
  cases.push_back({"most negative height", Dib(2, INT_MIN, 24, {}, std::vector<BYTE>(8, 0))});
  cases.push_back({"huge", Dib(100000, 100000, 24, {}, std::vector<BYTE>(8, 0))});
  auto badHeader = good;
  badHeader[0] = 0xFF;  // biSize past the data
  cases.push_back({"header size", badHeader});
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(wince::host::CreateBitmapFromPackedDib(c.bytes.data(), c.bytes.size()), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << c.what;
  }
}

}  // namespace
