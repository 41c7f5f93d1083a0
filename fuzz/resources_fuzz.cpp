// The readers of module resources fed arbitrary bytes: the .res reader, and
// the dialog template reader on every dialog the image holds and on the bytes
// themselves. Neither may read past what it is given, crash or hang; a dialog
// that reads must have items within its bytes' count.
#include <cstddef>
#include <cstdint>
#include <span>

#include "wince/kernel/resource_file.h"
#include "wince/user/dialog_template.h"

namespace {

constexpr uint32_t kDialogType = 5;  // RT_DIALOG

void ParseDialog(std::span<const uint8_t> bytes) {
  wince::win::DialogTemplate dialog;
  wince::win::TemplateFault fault;
  if (wince::win::ParseDialogTemplate(bytes, dialog, fault) && dialog.items.size() > bytes.size()) {
    __builtin_trap();  // every item takes bytes of its own
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  wince::modules::ModuleResources resources;
  wince::modules::ResourceFileError error;
  if (wince::modules::ReadResourceFile(bytes, resources, error)) {
    for (const wince::modules::ModuleResource& resource : resources) {
      if (resource.data < data || resource.data + resource.size > data + size) __builtin_trap();
      if (resource.type.numeric && resource.type.id == kDialogType) {
        ParseDialog(std::span<const uint8_t>(resource.data, resource.size));
      }
    }
  }
  ParseDialog(bytes);
  return 0;
}
