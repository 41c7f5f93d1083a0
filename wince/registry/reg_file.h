// The registry's file on the device: "registry.reg" at the root of the device
// folder, in the REGEDIT4 text form so that a person can read and mend it:
//
//   REGEDIT4
//
//   [HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32]
//   @="\\Windows\\x.dll"
//   "ThreadingModel"="Apartment"
//   "Count"=dword:0000001e
//   "Bits"=hex:01,02,ff
//   "List"=hex(7):61,00,00,00,00,00
//
// Lines end in CRLF; LF alone is read too. One section per key, parents before
// children, subkeys in name order; each section is followed by a blank line.
// An empty key is written as a section without values so it survives; a root
// key only when it has values (the four roots always exist). Text is UTF-8.
// A REG_SZ value is written as text only when it reads back to the same
// bytes (whole UTF-16 units, one terminating NUL, no line breaks); otherwise,
// like every other type but REG_DWORD of four bytes, as hex bytes folded
// with a trailing backslash before column 78. Lines starting with ';' are
// comments. Anything else in the file refuses the whole file.
#pragma once

#include <string>
#include <string_view>

#include "wince/registry/tree.h"

namespace wince::registry {

struct ReadError {
  int line = 0;      // 1-based
  std::string what;  // what is wrong, for "registry.reg line N: ..."
};

// Reads the file's bytes into *hive (which starts as EmptyHive()). False with
// *error at the first fault; *hive is then incomplete and must not be used.
bool ReadRegFile(std::string_view text, Hive* hive, ReadError* error);

// The file's text for a hive.
std::string WriteRegFile(const Hive& hive);

// Whether a key or value name can be written to the file and read back as it
// is: no line breaks, no lone surrogates.
bool IsWritableName(std::u16string_view name);

}  // namespace wince::registry
