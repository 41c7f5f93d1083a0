// Code pages: MultiByteToWideChar, WideCharToMultiByte and GetACP. The system
// code page (CP_ACP) is Windows-1252; CP_UTF8 is the other one available.
//
// Buffer rules of both conversions: a source count of -1 (any negative
// count) takes the NUL-terminated text and counts the NUL too; a destination
// size of 0 asks for the size needed; a destination too small gets the first
// units that fit, no terminator, and the call returns 0 with
// ERROR_INSUFFICIENT_BUFFER.
//
// What the host leaves out: other code pages fail with ERROR_INVALID_PARAMETER
// (as for a code page that is not installed) and a note on stderr;
// MB_USEGLYPHCHARS is not emulated; characters that Windows-1252 lacks become
// the default character, without the best-fit mappings of Windows.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <windows.h>

#include "wince/kernel/not_implemented.h"
#include "wince/kernel/unicode.h"

namespace wince {
namespace {

constexpr UINT kCp1252 = 1252;

enum class PageKind { Ansi, Utf8, Unknown };

PageKind Resolve(UINT codePage) {
  if (codePage == CP_ACP || codePage == kCp1252) return PageKind::Ansi;
  if (codePage == CP_UTF8) return PageKind::Utf8;
  return PageKind::Unknown;
}

void ReportUnknownCodePage(const char* function, UINT codePage) {
  std::fprintf(stderr, "wince: %s: code page %u is not available on the host\n", function,
               codePage);
  SetLastError(ERROR_INVALID_PARAMETER);
}

// Copies the converted text out by the buffer rules above.
template <class Unit, class Text>
int Deliver(const Text& converted, Unit* destination, int capacity) {
  int needed = static_cast<int>(converted.size());
  if (capacity == 0) return needed;
  if (needed > capacity) {
    std::memcpy(destination, converted.data(), sizeof(Unit) * static_cast<size_t>(capacity));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(destination, converted.data(), sizeof(Unit) * static_cast<size_t>(needed));
  return needed;
}

std::u16string AnsiToWide(std::string_view bytes, bool composite) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char byte : bytes) {
    char16_t c = text::Cp1252ToUnicode(static_cast<unsigned char>(byte));
    char16_t base = 0, mark = 0;
    if (composite && text::Decompose(c, &base, &mark)) {
      out.push_back(base);
      out.push_back(mark);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool IsCombiningMark(char16_t c) { return c >= 0x0300 && c <= 0x036F; }

// Builds the Windows-1252 text; *usedDefault tells whether a character had to
// be replaced.
std::string WideToAnsi(std::u16string_view text, DWORD flags, char defaultChar, bool* usedDefault) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if ((flags & WC_COMPOSITECHECK) && i + 1 < text.size() && IsCombiningMark(text[i + 1])) {
      char16_t composed = text::Compose(c, text[i + 1]);
      if (composed != 0 && text::UnicodeToCp1252(composed) >= 0) {
        out.push_back(static_cast<char>(text::UnicodeToCp1252(composed)));
        ++i;
        continue;
      }
      if (flags & WC_DISCARDNS) {
        ++i;  // the base letter stays, the mark goes
      } else if (flags & WC_DEFAULTCHAR) {
        out.push_back(defaultChar);
        *usedDefault = true;
        ++i;
        continue;
      }
    }
    int byte = text::UnicodeToCp1252(c);
    if (byte < 0) {
      out.push_back(defaultChar);
      *usedDefault = true;
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  return out;
}

}  // namespace
}  // namespace wince

using namespace wince;

extern "C" int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr,
                                          int cbMultiByte, LPWSTR lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 ||
      (!lpWideCharStr && cchWideChar != 0) ||
      (lpWideCharStr && static_cast<const void*>(lpWideCharStr) == lpMultiByteStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  PageKind page = wince::Resolve(CodePage);
  if (page == PageKind::Unknown) {
    ReportUnknownCodePage("MultiByteToWideChar", CodePage);
    return 0;
  }
  size_t length = cbMultiByte < 0 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  std::string_view source(lpMultiByteStr, length);

  std::u16string converted;
  if (page == PageKind::Utf8) {
    if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    bool invalid = false;
    converted = text::DecodeUtf8(source, &invalid);
    if (invalid && (dwFlags & MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    const DWORD known = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((dwFlags & ~known) || ((dwFlags & MB_PRECOMPOSED) && (dwFlags & MB_COMPOSITE))) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    if (dwFlags & MB_USEGLYPHCHARS) {
      NotImplemented("MultiByteToWideChar", "MB_USEGLYPHCHARS");
      return 0;
    }
    // Every byte of Windows-1252 has a character, so MB_ERR_INVALID_CHARS
    // never fires here.
    converted = AnsiToWide(source, (dwFlags & MB_COMPOSITE) != 0);
  }
  return Deliver(converted, lpWideCharStr, cchWideChar);
}

extern "C" int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr,
                                          int cchWideChar, LPSTR lpMultiByteStr, int cbMultiByte,
                                          LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 ||
      (!lpMultiByteStr && cbMultiByte != 0) ||
      (lpMultiByteStr && static_cast<const void*>(lpMultiByteStr) == lpWideCharStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  PageKind page = wince::Resolve(CodePage);
  if (page == PageKind::Unknown) {
    ReportUnknownCodePage("WideCharToMultiByte", CodePage);
    return 0;
  }
  size_t length = 0;
  if (cchWideChar < 0) {
    while (lpWideCharStr[length] != 0) ++length;
    ++length;
  } else {
    length = static_cast<size_t>(cchWideChar);
  }
  std::u16string_view source(lpWideCharStr, length);

  std::string converted;
  if (page == PageKind::Utf8) {
    if (lpDefaultChar || lpUsedDefaultChar) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    bool invalid = false;
    converted = text::EncodeUtf8(source, &invalid);
    if (invalid && (dwFlags & WC_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    const DWORD known = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                        WC_NO_BEST_FIT_CHARS;
    if (dwFlags & ~known) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    bool usedDefault = false;
    converted = WideToAnsi(source, dwFlags, lpDefaultChar ? *lpDefaultChar : '?', &usedDefault);
    if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  }
  return Deliver(converted, lpMultiByteStr, cbMultiByte);
}

extern "C" UINT WINAPI GetACP(void) { return kCp1252; }
