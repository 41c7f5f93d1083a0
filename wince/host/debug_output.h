// Test hook of OutputDebugStringW: the strings are kept, in order.
#pragma once

#include <string>
#include <vector>

namespace wince::host {

const std::vector<std::u16string>& DebugOutput();
void ClearDebugOutput();

}  // namespace wince::host
