// The current device's registry and the handles of opened keys (see
// store.h). The file is replaced atomically: the text goes to
// "registry.reg.tmp" beside it, is flushed to disk, and is renamed over
// "registry.reg", so a crash leaves either the old file or the new one.
#include "wince/registry/store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "wince/host/device.h"
#include "wince/host/registry.h"
#include "wince/kernel/file_system.h"
#include "wince/kernel/handle_table.h"
#include "wince/registry/reg_file.h"

namespace wince::registry {
namespace {

constexpr char16_t kFileName[] = u"\\registry.reg";
constexpr char kTempName[] = "registry.reg.tmp";

struct OpenKey {
  std::shared_ptr<Key> key;
  REGSAM access;
};

struct State {
  std::optional<std::filesystem::path> loadedFor;  // device folder read from
  Hive hive;
  std::string error;  // why the file was refused; empty when loaded
};

State& TheState() {
  static State state;
  return state;
}

HandleTable<OpenKey>& Handles() {
  static HandleTable<OpenKey> table(0x00400000u, 0x007FFFFCu);
  return table;
}

constexpr REGSAM kGenericAll = 0x10000000u;
constexpr REGSAM kMaximumAllowed = 0x02000000u;

// Rights as the handle keeps them: generic rights mapped to key rights.
REGSAM EffectiveAccess(REGSAM access) {
  if (access == 0 || (access & (kGenericAll | kMaximumAllowed))) return KEY_ALL_ACCESS;
  if (access & GENERIC_READ) access |= KEY_READ;
  if (access & GENERIC_WRITE) access |= KEY_WRITE;
  return access;
}

void Drop() {
  State& s = TheState();
  if (s.loadedFor) {
    for (auto& root : s.hive.roots) MarkDeleted(*root);
  }
  s.loadedFor.reset();
  s.hive = Hive{};
  s.error.clear();
}

Hive DefaultHive() {
  Hive hive = EmptyHive();
  AddSubkey(*hive.roots[0], u"CLSID");
  return hive;
}

void Load() {
  State& s = TheState();
  s.loadedFor = host::DeviceFolder();
  s.hive = DefaultHive();
  if (s.loadedFor->empty()) return;  // no device: the registry lives in memory only
  fs::Resolved r = fs::Resolve(std::u16string_view(kFileName));
  if (!r.exists) return;
  std::string text;
  bool readable = !r.isDirectory;
  if (readable) {
    std::ifstream in(r.host, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
    readable = in.good() || in.eof();
  }
  ReadError error;
  Hive read = EmptyHive();
  if (!readable) {
    s.error = "registry.reg: the file cannot be read";
  } else if (ReadRegFile(text, &read, &error)) {
    s.hive = std::move(read);
    return;
  } else {
    s.error = "registry.reg line " + std::to_string(error.line) + ": " + error.what;
  }
  s.hive = EmptyHive();
  std::fprintf(stderr, "wince: %s\n", s.error.c_str());
}

DWORD WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fs::ErrorFromErrno(errno);
    done += static_cast<size_t>(n);
  }
  return ::fsync(fd) == 0 ? 0 : fs::ErrorFromErrno(errno);
}

}  // namespace

DWORD Current(Hive** hive) {
  State& s = TheState();
  if (s.loadedFor && *s.loadedFor != host::DeviceFolder()) Drop();
  if (!s.loadedFor) Load();
  if (!s.error.empty()) return ERROR_REGISTRY_CORRUPT;
  *hive = &s.hive;
  return 0;
}

bool IsRootKey(HKEY hKey) {
  auto value = reinterpret_cast<uintptr_t>(hKey);
  return value >= 0x80000000u && value <= 0x80000003u;
}

DWORD KeyOf(HKEY hKey, REGSAM needed, std::shared_ptr<Key>* key) {
  Hive* hive = nullptr;
  if (DWORD e = Current(&hive)) return e;
  REGSAM access = KEY_ALL_ACCESS;
  if (IsRootKey(hKey)) {
    *key = hive->roots[reinterpret_cast<uintptr_t>(hKey) - 0x80000000u];
  } else {
    OpenKey* open = Handles().Find(HandleNumber(hKey));
    if (!open) return ERROR_INVALID_HANDLE;
    *key = open->key;
    access = open->access;
  }
  if ((*key)->deleted) return ERROR_KEY_DELETED;
  if ((access & needed) != needed) return ERROR_ACCESS_DENIED;
  return 0;
}

HKEY OpenHandle(std::shared_ptr<Key> key, REGSAM access) {
  uint32_t number = Handles().Add(OpenKey{std::move(key), EffectiveAccess(access)});
  return reinterpret_cast<HKEY>(HandleFromNumber(number));
}

bool CloseHandle(HKEY hKey) { return Handles().Remove(HandleNumber(hKey)); }

DWORD Save() {
  State& s = TheState();
  if (!s.loadedFor || s.loadedFor->empty() || !s.error.empty()) return 0;
  fs::Resolved target = fs::Resolve(std::u16string_view(kFileName));
  if (target.error != 0) return target.error;
  std::filesystem::path temp = target.host.parent_path() / kTempName;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fs::ErrorFromErrno(errno);
  DWORD error = WriteAll(fd, WriteRegFile(s.hive));
  if (::close(fd) != 0 && error == 0) error = fs::ErrorFromErrno(errno);
  if (error == 0 && ::rename(temp.c_str(), target.host.c_str()) != 0) {
    error = fs::ErrorFromErrno(errno);
  }
  if (error != 0) ::unlink(temp.c_str());
  return error;
}

}  // namespace wince::registry

namespace wince::host {

std::string RegistryError() {
  registry::Hive* hive = nullptr;
  registry::Current(&hive);
  return registry::TheState().error;
}

void ReloadRegistry() { registry::Drop(); }

int OpenRegistryHandles() { return static_cast<int>(registry::Handles().Size()); }

std::string RegistryText() {
  registry::Hive* hive = nullptr;
  if (registry::Current(&hive) != 0) return {};
  return registry::WriteRegFile(*hive);
}

}  // namespace wince::host
