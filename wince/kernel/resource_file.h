// The reader of compiled resource files (.res), the form in which a host
// module may carry its resources (resource_table.h). Separate from the
// loader so that tests and fuzz targets can hand it any bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "wince/kernel/module_internal.h"

namespace wince::modules {

struct ResourceFileError {
  size_t offset = 0;   // where the faulty entry, or field, starts
  std::string reason;  // one line, for a person
};

// Reads every entry of a .res image into out, each pointing into the image.
// Every length is checked against the image before anything is read; on the
// first fault out is left empty and the answer is false.
bool ReadResourceFile(std::span<const uint8_t> image, ModuleResources& out,
                      ResourceFileError& error);

}  // namespace wince::modules
