// Test hook of the local heap, for leak checks.
#pragma once

#include <cstddef>

namespace wince::host {

// Blocks allocated and not yet freed.
size_t LiveHeapBlocks();

}  // namespace wince::host
