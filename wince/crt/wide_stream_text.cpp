// fgetws and fputws of the device runtime, over the streams of wide_stream.cpp
// (line ends and Ctrl+Z are already translated there). In text mode each byte
// on disk is one character of the system code page (a single-byte code page,
// Windows-1252 unless configured), converted with MultiByteToWideChar and
// WideCharToMultiByte; in binary mode the file holds UTF-16LE units.
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "wince/crt/wide_stream.h"

namespace {

WCHAR UnitOfByte(int byte) {
  char source = static_cast<char>(byte);
  WCHAR unit = 0;
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, &source, 1, &unit, 1) != 1) {
    return static_cast<WCHAR>(byte);
  }
  return unit;
}

// The code page's byte for a unit, or -1 when the code page has none (a
// substituted default character counts as none).
int ByteOfUnit(WCHAR unit) {
  char byte = 0;
  BOOL usedDefault = FALSE;
  if (WideCharToMultiByte(CP_ACP, 0, &unit, 1, &byte, 1, nullptr, &usedDefault) != 1 || usedDefault) {
    return -1;
  }
  return static_cast<unsigned char>(byte);
}

// The next unit of the stream, or -1 at its end or on an error.
int NextUnit(FILE* stream, bool binary) {
  int low = std::getc(stream);
  if (low == EOF) return -1;
  if (!binary) return UnitOfByte(low);
  int high = std::getc(stream);
  if (high == EOF) return -1;  // an odd byte at the end is not a unit
  return low | (high << 8);
}

}  // namespace

WCHAR* fgetws(WCHAR* str, int numChars, FILE* stream) {
  if (str == nullptr || stream == nullptr || numChars <= 0) {
    errno = EINVAL;
    return nullptr;
  }
  const bool binary = wince::stream::ModeOf(stream) == wince::stream::Mode::Binary;
  const bool errorBefore = std::ferror(stream) != 0;
  int stored = 0;
  while (stored < numChars - 1) {
    int unit = NextUnit(stream, binary);
    if (unit < 0) {
      // A read error leaves the line undefined; report it rather than a
      // partial line.
      if (!errorBefore && std::ferror(stream)) return nullptr;
      break;
    }
    str[stored++] = static_cast<WCHAR>(unit);
    if (unit == u'\n') break;
  }
  // At the end of the stream with nothing read, the buffer stays untouched.
  if (stored == 0 && numChars > 1) return nullptr;
  str[stored] = 0;
  return str;
}

int fputws(const WCHAR* str, FILE* stream) {
  if (str == nullptr || stream == nullptr) {
    errno = EINVAL;
    return WCE_WEOF;
  }
  // Success answers the units written, which is not 0 for a non-empty text:
  // callers must test for WCE_WEOF, as the runtime documents, not for 0.
  int written = 0;
  if (wince::stream::ModeOf(stream) == wince::stream::Mode::Binary) {
    for (const WCHAR* p = str; *p != 0; ++p, ++written) {
      if (std::putc(*p & 0xFF, stream) == EOF || std::putc(*p >> 8, stream) == EOF) return WCE_WEOF;
    }
    return written;
  }
  for (const WCHAR* p = str; *p != 0; ++p) {
    const int byte = ByteOfUnit(*p);
    if (byte < 0) {
      // An encoding error is not a stream error: the indicator stays clear.
      errno = EILSEQ;
      return WCE_WEOF;
    }
    if (std::putc(byte, stream) == EOF) return WCE_WEOF;
    ++written;
  }
  return written;
}
