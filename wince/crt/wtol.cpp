// The runtime's _wtol and _wtoi for UTF-16 text.
//
// Accepted form: spaces and tabs, an optional '+' or '-', then decimal
// digits up to the first other character; no digits gives 0. A value out of
// range wraps around modulo 2^32 (as the device's 32-bit arithmetic would);
// NULL gives 0.
#include <cstdint>

#include <windows.h>

long _wtol(const WCHAR* str) {
  if (!str) return 0;
  while (*str == u' ' || *str == u'\t') ++str;
  bool negative = false;
  if (*str == u'+' || *str == u'-') negative = *str++ == u'-';
  uint32_t value = 0;
  for (; *str >= u'0' && *str <= u'9'; ++str) value = value * 10u + static_cast<uint32_t>(*str - u'0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

int _wtoi(const WCHAR* str) { return static_cast<int>(_wtol(str)); }
