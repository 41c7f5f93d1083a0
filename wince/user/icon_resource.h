// The reading of icon resources behind LoadIconW, separate from it so that
// tests and fuzz targets can hand it any bytes (see icon.cpp for the
// layouts). Nothing past a span is read.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <windows.h>

namespace wince::win {

// The RT_ICON id that LoadIconW takes from an RT_GROUP_ICON directory: the
// entry closest to SM_CXICON x SM_CYICON, then to the display's 32 bits;
// nullopt when the directory is malformed.
std::optional<WORD> ChooseIconEntry(std::span<const uint8_t> directory);

// A new icon (DestroyIcon frees it) from an RT_ICON image; NULL with
// ERROR_INVALID_DATA when the image is malformed, or ERROR_CALL_NOT_IMPLEMENTED
// for a PNG image.
HICON CreateIconFromImage(std::span<const uint8_t> image);

}  // namespace wince::win
