// Test hook of OutputDebugStringW: the strings are kept, in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wince::host {

const std::vector<std::u16string>& DebugOutput();
void ClearDebugOutput();
// Called with each string as it is written. Empty to clear.
void SetDebugOutputObserver(std::function<void(const std::u16string&)> observer);

}  // namespace wince::host
