// Test and tool hooks of the host's image lists: what a list holds, as the SIP
// manager would draw it, and how many lists are alive.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <windows.h>

namespace wince::host {

struct ListImage {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;   // row by row; transparent pixels are black
  std::vector<bool> transparent;  // the mask, row by row
};

// Image `index` of a list; nullopt when the list or the image does not exist.
std::optional<ListImage> ImageListImage(HIMAGELIST himl, int index);
// Lists created and not yet destroyed.
size_t LiveImageLists();

}  // namespace wince::host
