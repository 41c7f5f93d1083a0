// Modules: LoadLibraryW, FreeLibrary, GetModuleHandleW, GetModuleFileNameW,
// GetProcAddress.
//
// How the host loads a module. A module on the device folder is a host
// shared object (ELF) stored under its device name, "\Windows\STOCK.DLL" or
// "\Windows\tapora.dll", and LoadLibraryW loads it with dlopen (RTLD_NOW,
// RTLD_LOCAL). GetProcAddress is dlsym, restricted to symbols the module
// itself defines. Resources are compiled into the module as a table or as
// the image of a compiled .res file (see resource_table.h), which the loader
// finds through the exported symbols "wince_resource_directory" and
// "wince_resource_file" and reads once, at load; FindResourceW and
// LoadBitmapW look them up in what it read. A malformed .res image leaves
// the module loaded without resources, with the fault written to stderr.
// A module with code leaves the Win32 functions undefined and binds them to
// the host of the process that loads it, so the executable must export the
// host's symbols (CMake ENABLE_EXPORTS, i.e. -rdynamic): one host,
// one set of handles and one device folder for the program and its modules.
// When the module exports DllMain it is called with DLL_PROCESS_ATTACH on the
// first load and DLL_PROCESS_DETACH on the last FreeLibrary; an attach that
// answers FALSE unloads it again and fails the load (ERROR_DLL_INIT_FAILED).
//
// Loads are counted per file: loading the same file again, under any
// spelling of its path, returns the same handle. While loaded, the file is
// held (wince/kernel/file_system.h): it cannot be deleted or overwritten. A name
// without a backslash is looked for in \Windows, then in the root, as the
// device's loader does; a name without an extension gets ".dll".
#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"
#include "wince/host/modules.h"
#include "wince/kernel/module_internal.h"

namespace wince::modules {
namespace {

struct Module {
  std::u16string devicePath;
  std::filesystem::path hostPath;
  void* library = nullptr;
  int references = 0;
  bool main = false;
  std::optional<ModuleResources> resources;
};

using DllMainProc = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

std::u16string& MainName() {
  static std::u16string name = u"\\Windows\\host.exe";
  return name;
}

HandleTable<Module>& Table() {
  static HandleTable<Module> table(0x00001000u, 0x0000FFFCu);
  return table;
}

// A symbol the library itself defines: dlsym also searches what a library
// depends on (the C library, ...), which is no export of the module.
void* OwnSymbol(void* library, const char* name) {
  void* symbol = dlsym(library, name);
  if (!symbol) return nullptr;
  Dl_info info{};
  link_map* owner = nullptr;
  link_map* self = nullptr;
  if (!dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) ||
      dlinfo(library, RTLD_DI_LINKMAP, &self) != 0 || owner != self)
    return nullptr;
  return symbol;
}

std::optional<ModuleResources> LoadResources(void* library, bool own, std::u16string_view name) {
  auto find = [&](const char* symbol) {
    return own ? OwnSymbol(library, symbol) : dlsym(library, symbol);
  };
  auto* table = static_cast<const WinceResourceDirectory*>(find(kResourceDirectorySymbol));
  if (table && (table->magic != kResourceMagic || table->version != kResourceVersion)) table = nullptr;
  auto* file = static_cast<const WinceResourceFile*>(find(kResourceFileSymbol));
  return GatherResources(table, file, name);
}

uint32_t MainModule() {
  static uint32_t number = [] {
    Module m;
    m.main = true;
    m.references = 1;
    m.library = dlopen(nullptr, RTLD_NOW);
    if (m.library) m.resources = LoadResources(m.library, false, MainName());
    return Table().Add(std::move(m));
  }();
  return number;
}

Module* Find(HMODULE handle) {
  MainModule();
  if (!handle) return Table().Find(MainModule());
  return Table().Find(HandleNumber(handle));
}

std::u16string ToU16(LPCWSTR s) {
  std::u16string out;
  for (; s && *s; ++s) out.push_back(static_cast<char16_t>(*s));
  return out;
}

// The candidates a name stands for, in search order.
std::vector<std::u16string> Candidates(std::u16string name) {
  size_t leafStart = name.find_last_of(u'\\');
  std::u16string leaf = leafStart == std::u16string::npos ? name : name.substr(leafStart + 1);
  if (leaf.find(u'.') == std::u16string::npos) name += u".dll";
  if (leafStart != std::u16string::npos) return {name};
  return {u"\\Windows\\" + name, u"\\" + name};
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

HMODULE ToHandle(uint32_t number) { return static_cast<HMODULE>(HandleFromNumber(number)); }

void Unload(uint32_t number, Module& m) {
  if (auto entry = reinterpret_cast<DllMainProc>(OwnSymbol(m.library, "DllMain")))
    entry(ToHandle(number), DLL_PROCESS_DETACH, nullptr);
  dlclose(m.library);
  fs::ReleaseModuleFile(m.hostPath);
  Table().Remove(number);
}

}  // namespace

const ModuleResources* ResourcesOf(HMODULE module) {
  Module* m = Find(module);
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (!m->resources) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return &*m->resources;
}

}  // namespace wince::modules

namespace wince::host {

size_t LoadedModules() {
  wince::modules::MainModule();
  return wince::modules::Table().Size() - 1;
}

int ModuleReferences(HMODULE module) {
  auto* m = wince::modules::Find(module);
  return m && module ? m->references : 0;
}

void SetMainModuleFileName(std::u16string_view devicePath) {
  wince::modules::MainName() = std::u16string(devicePath);
}

}  // namespace wince::host

using namespace wince::modules;

extern "C" HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  wince::fs::Resolved found;
  for (const std::u16string& candidate : Candidates(ToU16(lpLibFileName))) {
    found = wince::fs::Resolve(std::u16string_view(candidate));
    if (!found.error && found.exists && !found.isDirectory) break;
  }
  if (found.error || !found.exists || found.isDirectory) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  MainModule();
  uint32_t loaded = 0;
  Table().ForEach([&](uint32_t number, Module& m) {
    if (!m.main && SameFile(m.hostPath, found.host)) loaded = number;
  });
  if (loaded) {
    ++Table().Find(loaded)->references;
    return ToHandle(loaded);
  }
  void* library = dlopen(found.host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "wince: LoadLibraryW: %s\n", dlerror());
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  Module m;
  m.devicePath = wince::fs::DevicePathOf(found.host);
  m.hostPath = found.host;
  m.library = library;
  m.references = 1;
  m.resources = LoadResources(library, true, m.devicePath);
  uint32_t number = Table().Add(std::move(m));
  if (!number) {
    dlclose(library);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  wince::fs::HoldModuleFile(found.host);
  if (auto entry = reinterpret_cast<DllMainProc>(OwnSymbol(library, "DllMain"))) {
    if (!entry(ToHandle(number), DLL_PROCESS_ATTACH, nullptr)) {
      Unload(number, *Table().Find(number));
      SetLastError(ERROR_DLL_INIT_FAILED);
      return nullptr;
    }
  }
  return ToHandle(number);
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  Module* m = hLibModule ? Find(hLibModule) : nullptr;
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if (m->main) return TRUE;
  if (--m->references == 0) Unload(wince::HandleNumber(hLibModule), *m);
  return TRUE;
}

extern "C" HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return ToHandle(MainModule());
  std::u16string name = ToU16(lpModuleName);
  bool hasPath = name.find(u'\\') != std::u16string::npos;
  std::vector<std::u16string> names = Candidates(name);
  uint32_t match = 0;
  Table().ForEach([&](uint32_t number, Module& m) {
    if (m.main || match) return;
    std::u16string_view path = m.devicePath;
    std::u16string_view leaf = path.substr(path.find_last_of(u'\\') + 1);
    for (const std::u16string& candidate : names) {
      std::u16string_view want = candidate;
      if (hasPath ? wince::fs::SameName(path, want)
                  : wince::fs::SameName(leaf, want.substr(want.find_last_of(u'\\') + 1)))
        match = number;
    }
  });
  if (!match) SetLastError(ERROR_MOD_NOT_FOUND);
  return match ? ToHandle(match) : nullptr;
}

// A name longer than the buffer is cut and still NUL-terminated; the result
// is then nSize with ERROR_INSUFFICIENT_BUFFER.
extern "C" DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  Module* m = Find(hModule);
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::u16string& path = m->main ? MainName() : m->devicePath;
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    for (DWORD i = 0; i + 1 < nSize; ++i) lpFilename[i] = static_cast<WCHAR>(path[i]);
    lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  for (size_t i = 0; i < path.size(); ++i) lpFilename[i] = static_cast<WCHAR>(path[i]);
  lpFilename[path.size()] = 0;
  return static_cast<DWORD>(path.size());
}

extern "C" FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  Module* m = Find(hModule);
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Host modules have no export ordinals.
  if (!lpProcName || IS_INTRESOURCE(lpProcName)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* symbol = nullptr;
  if (m->library) symbol = m->main ? dlsym(m->library, lpProcName) : OwnSymbol(m->library, lpProcName);
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

extern "C" FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName) {
  if (!lpProcName || IS_INTRESOURCE(lpProcName)) return GetProcAddress(hModule, nullptr);
  std::string name;
  for (LPCWSTR p = lpProcName; *p; ++p) {
    if (*p > 0x7F) {  // export names are ASCII
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
    name.push_back(static_cast<char>(*p));
  }
  return GetProcAddress(hModule, name.c_str());
}
