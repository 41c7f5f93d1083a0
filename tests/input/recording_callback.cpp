// The recording callback (see recording_callback.h).
#include "tests/input/recording_callback.h"

#include <cstdio>

namespace input_test {

namespace {

// UTF-8 through the platform, so that the host and Windows describe alike.
std::string Utf8(const WCHAR* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

}  // namespace

std::string DescribeChar(unsigned unit) {
  if (unit >= 0x20 && unit != 0x7F && unit <= 0xFFFF && (unit < 0xD800 || unit > 0xDFFF)) {
    const WCHAR text = static_cast<WCHAR>(unit);
    return "'" + Utf8(&text, 1) + "'";
  }
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", unit);
  return text;
}

HRESULT STDMETHODCALLTYPE RecordingCallback::QueryInterface(REFIID riid, void** object) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IIMCallback)) {
    *object = this;
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE RecordingCallback::SetImInfo(IMINFO* info) {
  calls.push_back("iminfo " + std::to_string(info->rcSipRect.left) + " " +
                  std::to_string(info->rcSipRect.top) + " " +
                  std::to_string(info->rcSipRect.right) + " " +
                  std::to_string(info->rcSipRect.bottom));
  return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingCallback::SendVirtualKey(BYTE bVk, DWORD dwFlags) {
  std::string line = "key " + std::to_string(bVk);
  if (dwFlags == 4) {
    line += " down";
  } else if (dwFlags == 6) {
    line += " up";
  } else {
    line += " flags " + Hex(dwFlags);
  }
  calls.push_back(line);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingCallback::SendCharEvents(UINT uVk, UINT uKeyFlags, UINT uChars,
                                                            UINT* puShift, UINT* puChars) {
  const unsigned shift = puShift != nullptr ? *puShift : 0xDEADu;
  const unsigned chars = puChars != nullptr ? *puChars : 0xDEADu;
  if (puShift != nullptr && puChars != nullptr && shift == uKeyFlags) {
    if (uVk == 0 && uChars == 1) {
      calls.push_back("char " + DescribeChar(chars) + " flags " + Hex(uKeyFlags));
      return S_OK;
    }
    if (uChars == 0 && chars == uVk) {
      calls.push_back("keyevent " + std::to_string(uVk) + " flags " + Hex(uKeyFlags));
      return S_OK;
    }
  }
  calls.push_back("SendCharEvents(" + std::to_string(uVk) + ", " + Hex(uKeyFlags) + ", " +
                  std::to_string(uChars) + ", [" + Hex(shift) + "], [" + Hex(chars) + "])");
  return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingCallback::SendString(BSTR psz, DWORD dwChars) {
  calls.push_back("string \"" + Utf8(psz, static_cast<int>(dwChars)) + "\"");
  return S_OK;
}

}  // namespace input_test
