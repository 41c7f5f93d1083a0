// An IIMCallback that stands in for the SIP manager: it records every call, in
// order, as one line of text that names all of its arguments, so that a test
// compares the whole event stream at once.
//
//   key 16 down                      SendVirtualKey(16, 4)
//   key 16 up                        SendVirtualKey(16, 6)
//   key 16 flags 0x2                 SendVirtualKey with any other flags
//   char 'a' flags 0x80              SendCharEvents(0, flags, 1, [flags], ['a'])
//   keyevent 67 flags 0x40000080     SendCharEvents(67, flags, 0, [flags], [67])
//   string "abc"                     SendString("abc", 3)
//   SendCharEvents(...)              any other form, every argument shown
#pragma once

#include <string>
#include <vector>

#include "im/sip_interfaces.h"

namespace input_test {

class RecordingCallback : public IIMCallback {
 public:
  std::vector<std::string> calls;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE bVk, DWORD dwFlags) override;
  HRESULT STDMETHODCALLTYPE SendCharEvents(UINT uVk, UINT uKeyFlags, UINT uChars, UINT* puShift,
                                           UINT* puChars) override;
  HRESULT STDMETHODCALLTYPE SendString(BSTR psz, DWORD dwChars) override;
};

// A character for event lines: 'x' for printable ones, U+XXXX otherwise.
std::string DescribeChar(unsigned unit);

}  // namespace input_test
