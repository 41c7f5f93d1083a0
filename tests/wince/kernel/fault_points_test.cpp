// Fault points beyond the heap and reads: each kind fails its armed call
// with the platform's error, changes nothing the call would have changed,
// then disarms; the host's own windows and classes are neither counted nor
// failed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <commctrl.h>
#include <windows.h>

#include "tests/wince/registry/registry_fixture.h"
#include "tests/wince/user/dialog_test_support.h"
#include "wince/host/faults.h"
#include "wince/host/image_lists.h"
#include "wince/host/registry.h"
#include "wince/host/surface.h"
#include "wince/host/windows.h"

namespace {

namespace fs = std::filesystem;
using wince::host::Call;

constexpr char16_t kClass[] = u"fault points";
int messagesSeen = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++messagesSeen;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK EndAtOnce(HWND hwnd, UINT message, WPARAM, LPARAM) {
  ++messagesSeen;
  if (message == WM_INITDIALOG) EndDialog(hwnd, 7);
  return FALSE;
}

// STOCK.DLL as the build installs it, a few folders above this program.
fs::path BuiltStockDll() {
  fs::path dir = fs::read_symlink("/proc/self/exe").parent_path();
  for (int up = 0; up < 4; ++up, dir = dir.parent_path()) {
    fs::path candidate = dir / "device" / "Windows" / "STOCK.DLL";
    if (fs::exists(candidate)) return candidate;
  }
  return {};
}

class FaultPoints : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    wince::host::ResetWindows();
    wince::host::ClearFaults();
    WriteHost("keep.txt", "kept");
    MakeHostFolder("folder");
    key_ = Create(HKEY_LOCAL_MACHINE, u"Software\\Faults");
    for (std::u16string n : {u"1", u"2", u"3"}) {
      SetSz(key_, (u"gone" + n).c_str(), u"soon");
      RegCloseKey(Create(key_, (u"Old" + n).c_str()));
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = u"fault windows";
    RegisterClassW(&wc);
  }
  void TearDown() override {
    wince::host::ClearFaults();
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (stock_) FreeLibrary(stock_);
    RegCloseKey(key_);
    wince::host::ResetWindows();
    RegistryTest::TearDown();
  }

  // A row: the call made once (true when it succeeded) and what it would
  // change, as text. Each is made three times (attempt 1, 2, 3), with the
  // second armed to fail.
  struct Row {
    Call call;
    DWORD error;  // the last error, or the registry's returned code
    std::function<bool(int attempt, DWORD* error)> act;
    std::function<std::string()> state;
  };

  void Check(const Row& row) {
    SCOPED_TRACE(wince::host::CallName(row.call));
    wince::host::ResetCallCounts();
    wince::host::FailNthCall(row.call, 2);
    DWORD error = 0;
    EXPECT_TRUE(row.act(1, &error));
    const std::string before = row.state();
    messagesSeen = 0;
    EXPECT_FALSE(row.act(2, &error));
    EXPECT_EQ(error, row.error);
    EXPECT_EQ(row.state(), before);
    EXPECT_EQ(messagesSeen, 0) << "a failed call reached a procedure";
    EXPECT_TRUE(row.act(3, &error)) << "the fault did not disarm";
    EXPECT_EQ(wince::host::CallCount(row.call), 3u);
  }

  static std::u16string Number(int n) { return std::u16string(1, static_cast<char16_t>(u'0' + n)); }
  static bool LastError(bool ok, DWORD* error) {
    *error = ok ? 0 : GetLastError();
    return ok;
  }
  static bool Returned(LONG code, DWORD* error) {
    *error = static_cast<DWORD>(code);
    return code == ERROR_SUCCESS;
  }
  std::string Counts() const {
    return std::to_string(wince::host::OpenFileHandles()) + " files, " +
           std::to_string(wince::host::OpenRegistryHandles()) + " keys, " +
           std::to_string(wince::host::LiveWindows()) + " windows, " +
           std::to_string(wince::host::RegisteredClasses()) + " classes, " +
           std::to_string(wince::host::LiveImageLists()) + " image lists, " +
           std::to_string(wince::host::LiveGdiObjects()) + " GDI objects";
  }

  HKEY key_ = NULL;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HMODULE stock_ = nullptr;
};

TEST_F(FaultPoints, EachKindFailsItsArmedCallAndChangesNothing) {
  file_ = CreateFileW(u"\\keep.txt", GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(file_, INVALID_HANDLE_VALUE);
  fs::path stock = BuiltStockDll();
  ASSERT_FALSE(stock.empty()) << "STOCK.DLL is not built: build the stock_dll target";
  fs::create_directories(Host("Windows"));
  fs::copy_file(stock, Host("Windows/STOCK.DLL"));
  stock_ = LoadLibraryW(u"\\Windows\\STOCK.DLL");
  ASSERT_NE(stock_, nullptr);
  const dialog_test::TemplateBuilder dialog(WS_POPUP, 0, 0, 50, 20, u"Faults");

  auto files = [this] {
    return ReadHost("keep.txt") + (fs::exists(Host("new.txt")) ? "+new" : "") +
           (fs::exists(Host("folder")) ? "+folder" : "") + ", " + Counts();
  };
  auto registry = [this] { return wince::host::RegistryText() + Counts(); };
  const Row rows[] = {
      {Call::CreateFileW, ERROR_SHARING_VIOLATION,
       [](int, DWORD* e) {
         HANDLE h = CreateFileW(u"\\new.txt", GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
         if (!LastError(h != INVALID_HANDLE_VALUE, e)) return false;
         CloseHandle(h);
         return DeleteFileW(u"\\new.txt") != FALSE;
       },
       files},
      {Call::WriteFile, ERROR_DISK_FULL,
       [this](int, DWORD* e) {
         DWORD written = 0xdeadbeef;
         bool ok = WriteFile(file_, "more", 4, &written, NULL);
         return LastError(ok && written == 4, e);
       },
       [this, files] {
         return files() + " at " + std::to_string(SetFilePointer(file_, 0, NULL, FILE_CURRENT));
       }},
      {Call::RemoveDirectoryW, ERROR_ACCESS_DENIED,
       [](int, DWORD* e) {
         return LastError(RemoveDirectoryW(u"\\folder"), e) && CreateDirectoryW(u"\\folder", NULL);
       },
       files},
      {Call::RegistryWrite, ERROR_ACCESS_DENIED,
       [this](int attempt, DWORD* e) {
         HKEY made = reinterpret_cast<HKEY>(1);
         LONG code = RegCreateKeyExW(key_, (u"New" + Number(attempt)).c_str(), 0, NULL, 0,
                                     KEY_ALL_ACCESS, NULL, &made, NULL);
         if (code != ERROR_SUCCESS && made != NULL) return Returned(ERROR_INVALID_HANDLE, e);
         if (made != NULL) RegCloseKey(made);
         return Returned(code, e);
       },
       registry},
      {Call::RegistryWrite, ERROR_ACCESS_DENIED,
       [this](int attempt, DWORD* e) { return Returned(SetSz(key_, u"set", Number(attempt)), e); },
       registry},
      {Call::RegistryWrite, ERROR_ACCESS_DENIED,
       [this](int attempt, DWORD* e) {
         return Returned(RegDeleteValueW(key_, (u"gone" + Number(attempt)).c_str()), e);
       },
       registry},
      {Call::RegistryWrite, ERROR_ACCESS_DENIED,
       [this](int attempt, DWORD* e) {
         return Returned(RegDeleteKeyW(key_, (u"Old" + Number(attempt)).c_str()), e);
       },
       registry},
      {Call::RegisterClassW, ERROR_NOT_ENOUGH_MEMORY,
       [](int, DWORD* e) {
         WNDCLASSW wc{};
         wc.lpfnWndProc = DefWindowProcW;
         wc.lpszClassName = kClass;
         return LastError(RegisterClassW(&wc) != 0, e) && UnregisterClassW(kClass, NULL);
       },
       [this] { return Counts(); }},
      {Call::CreateWindowExW, ERROR_NOT_ENOUGH_MEMORY,
       [](int, DWORD* e) {
         HWND w = CreateWindowExW(0, u"fault windows", u"", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  NULL, NULL);
         return LastError(w != nullptr, e) && DestroyWindow(w);
       },
       [this] { return Counts(); }},
      {Call::ImageList_Create, ERROR_NOT_ENOUGH_MEMORY,
       [](int, DWORD* e) {
         HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
         return LastError(list != nullptr, e) && ImageList_Destroy(list);
       },
       [this] { return Counts(); }},
      {Call::LoadBitmapW, ERROR_NOT_ENOUGH_MEMORY,
       [this](int, DWORD* e) {
         HBITMAP bitmap = LoadBitmapW(stock_, MAKEINTRESOURCEW(101));
         return LastError(bitmap != nullptr, e) && DeleteObject(bitmap);
       },
       [this] { return Counts(); }},
      {Call::DialogBoxIndirectParamW, ERROR_NOT_ENOUGH_MEMORY,
       [&dialog](int, DWORD* e) {
         SetLastError(0);
         return LastError(DialogBoxIndirectParamW(NULL, dialog.Get(), NULL, EndAtOnce, 0) == 7, e);
       },
       [this] { return Counts(); }},
  };
  for (const Row& row : rows) Check(row);
}

TEST_F(FaultPoints, TheHostsOwnWindowsAndClassesAreNeitherCallsNorLeaks) {
  // The dialog's window and controls, and the system classes they need, are
  // made by the host inside the one DialogBoxIndirectParamW call.
  dialog_test::TemplateBuilder dialog(WS_POPUP, 0, 0, 50, 20, u"Faults");
  dialog.Item({WS_CHILD | WS_VISIBLE, 1, 1, 20, 10, IDOK, dialog_test::kButton, u"OK"});
  wince::host::ResetCallCounts();
  wince::host::FailNthCall(Call::CreateWindowExW, 1);
  wince::host::FailNthCall(Call::RegisterClassW, 1);
  const size_t classes = wince::host::RegisteredClasses();
  const size_t windows = wince::host::LiveWindows();
  EXPECT_EQ(DialogBoxIndirectParamW(NULL, dialog.Get(), NULL, EndAtOnce, 0), 7);
  EXPECT_EQ(wince::host::CallCount(Call::CreateWindowExW), 0u);
  EXPECT_EQ(wince::host::CallCount(Call::RegisterClassW), 0u);
  EXPECT_EQ(wince::host::RegisteredClasses(), classes);
  EXPECT_EQ(wince::host::LiveWindows(), windows);
  // Still armed for the caller's own calls, which the counts see.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = kClass;
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_NE(RegisterClassW(&wc), 0);
  EXPECT_EQ(wince::host::RegisteredClasses(), classes + 1);
  EXPECT_EQ(CreateWindowExW(0, kClass, u"", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL), nullptr);
  HWND parent = CreateWindowExW(0, kClass, u"", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
  CreateWindowExW(0, kClass, u"", WS_CHILD, 0, 0, 5, 5, parent, NULL, NULL, NULL);
  EXPECT_EQ(wince::host::LiveWindows(), windows + 2);
  EXPECT_FALSE(UnregisterClassW(kClass, NULL));  // it still has windows
  DestroyWindow(parent);
  EXPECT_EQ(wince::host::LiveWindows(), windows);
  EXPECT_TRUE(UnregisterClassW(kClass, NULL));
  EXPECT_EQ(wince::host::RegisteredClasses(), classes);
}

}  // namespace
