// The bundled keyboard as the real GDI draws it, compared with the host's
// drawing of it (kbf render, the system's same painting on the host's GDI).
// Where no font plays a part (faces, bevels, stock faces, glyphs) the two
// must agree pixel for pixel; a text label is drawn with the platform's font,
// so there only its place is compared (PLATFORM_DIFFERENCES.md).
#include <gtest/gtest.h>
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A PNG file read with the platform's imaging component.
Picture ReadPng(const std::wstring& path) {
  Picture picture;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
    return picture;
  }
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                      WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom))) {
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);
    std::vector<BYTE> bgra(static_cast<size_t>(width) * height * 4);
    if (SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()),
                                        bgra.data()))) {
      picture.width = static_cast<int>(width);
      picture.height = static_cast<int>(height);
      for (size_t i = 0; i < bgra.size(); i += 4) {
        picture.pixels.push_back(RGB(bgra[i + 2], bgra[i + 1], bgra[i]));
      }
    }
  }
  if (converter != nullptr) converter->Release();
  if (frame != nullptr) frame->Release();
  if (decoder != nullptr) decoder->Release();
  factory->Release();
  return picture;
}

// What the panel window shows, copied into a DIB section.
Picture Capture(HWND window) {
  Picture picture;
  RECT client{};
  GetClientRect(window, &client);
  picture.width = client.right;
  picture.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const BYTE* bytes = static_cast<const BYTE*>(bits);
  for (int i = 0; i < picture.width * picture.height; ++i) {
    picture.pixels.push_back(RGB(bytes[i * 4 + 2], bytes[i * 4 + 1], bytes[i * 4]));
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return picture;
}

std::wstring HostDrawing(const char* name) {
  return FromHost(std::string(TAPORA_HOST_DRAWINGS "/") + name + ".png");
}

// The first pixel where two pictures differ, as "x,y", or "" when none does.
std::string FirstDifference(const Picture& a, const Picture& b) {
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.At(x, y) != b.At(x, y)) return std::to_string(x) + "," + std::to_string(y);
    }
  }
  return "";
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  bool Empty() const { return right < left; }
  std::string Text() const {
    return std::to_string(left) + "," + std::to_string(top) + " to " + std::to_string(right) +
           "," + std::to_string(bottom);
  }
};

using Mask = std::vector<bool>;

// The pixels where a picture differs from the same keyboard drawn without
// its text labels: the labels' ink, as that platform draws it.
Mask InkOf(const Picture& labelled, const Picture& unlabelled) {
  Mask ink(labelled.pixels.size());
  for (size_t i = 0; i < ink.size(); ++i) ink[i] = labelled.pixels[i] != unlabelled.pixels[i];
  return ink;
}

// The labels: ink of either platform grouped by nearness (pixels less than 3
// apart belong to one label), each with the box of its ink on each side.
struct Label {
  Box host, shown, both;
};

std::vector<Label> Labels(const Mask& host, const Mask& shown, int width, int height) {
  std::vector<Label> labels;
  Mask seen(host.size());
  auto any = [&](int x, int y) { return host[y * width + x] || shown[y * width + x]; };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!any(x, y) || seen[y * width + x]) continue;
      Label label;
      std::vector<std::pair<int, int>> todo = {{x, y}};
      seen[y * width + x] = true;
      while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        label.both.Add(cx, cy);
        if (host[cy * width + cx]) label.host.Add(cx, cy);
        if (shown[cy * width + cx]) label.shown.Add(cx, cy);
        for (int ny = std::max(0, cy - 2); ny <= std::min(height - 1, cy + 2); ++ny) {
          for (int nx = std::max(0, cx - 2); nx <= std::min(width - 1, cx + 2); ++nx) {
            if (any(nx, ny) && !seen[ny * width + nx]) {
              seen[ny * width + nx] = true;
              todo.push_back({nx, ny});
            }
          }
        }
      }
      labels.push_back(label);
    }
  }
  return labels;
}

class Drawing : public testing::Test {
 protected:
  // The keyboard without text labels, as a language of its own.
  void SetUp() override {
    namespace fs = std::filesystem;
    ASSERT_TRUE(InstallProduct());
    ASSERT_EQ(RegisterInstalledServer(), S_OK);
    const fs::path unlabelled(L"C:\\Program Files\\Tapora SIP\\Unlabelled");
    fs::create_directories(unlabelled);
    fs::copy_file(fs::path(FromHost(TAPORA_HOST_DRAWINGS "/Unlabelled/keyboard.kbf")),
                  unlabelled / L"keyboard.kbf", fs::copy_options::overwrite_existing);
    std::ofstream(unlabelled / L"info", std::ios::binary) << "keyboard.kbf";
  }

  // The panel as it shows LANGUAGE's keyboard, after tapping Shift when asked.
  static Picture Shown(const std::wstring& language, bool shift) {
    const std::wstring tree = L"C:\\Program Files\\Tapora SIP";
    std::ofstream(std::filesystem::path(tree + L"\\info"), std::ios::binary | std::ios::trunc)
        << std::string(language.begin(), language.end());
    SelectedInputMethod im;
    EXPECT_TRUE(im.ok());
    if (!im.ok()) return {};
    // The Shift key of the English keyboard.
    if (shift) im.Tap(20, 41);
    InvalidateRect(im.panel(), nullptr, TRUE);
    UpdateWindow(im.panel());
    Picture shown = Capture(im.panel());
    std::ofstream(std::filesystem::path(tree + L"\\info"), std::ios::binary | std::ios::trunc)
        << "Keyboard";
    return shown;
  }
};

TEST_F(Drawing, WithoutTextLabelsBothPlatformsDrawTheSamePixels) {
  for (const bool shift : {false, true}) {
    const Picture host = ReadPng(HostDrawing(shift ? "unlabelled-shift" : "unlabelled"));
    const Picture shown = Shown(L"Unlabelled", shift);
    ASSERT_EQ(shown.width, 240);
    ASSERT_EQ(shown.height, 80);
    ASSERT_EQ(host.width, shown.width);
    ASSERT_EQ(host.height, shown.height);
    EXPECT_EQ(FirstDifference(host, shown), "") << (shift ? "Shift latched" : "plain");
  }
}

// The fonts differ, so labels are compared by their place: outside the ink
// of either platform's labels every pixel agrees, and each label's ink is
// centred within a pixel and a half of where the host centres it.
TEST_F(Drawing, TextLabelsSitWhereTheHostPutsThem) {
  for (const bool shift : {false, true}) {
    SCOPED_TRACE(shift ? "Shift latched" : "plain");
    const Picture host = ReadPng(HostDrawing(shift ? "english-shift" : "english"));
    const Picture hostBare = ReadPng(HostDrawing(shift ? "unlabelled-shift" : "unlabelled"));
    const Picture shown = Shown(L"Keyboard", shift);
    const Picture shownBare = Shown(L"Unlabelled", shift);
    ASSERT_EQ(host.pixels.size(), shown.pixels.size());
    ASSERT_EQ(hostBare.pixels.size(), shownBare.pixels.size());
    const Mask hostInk = InkOf(host, hostBare), shownInk = InkOf(shown, shownBare);
    int outside = 0;
    for (size_t i = 0; i < host.pixels.size(); ++i) {
      if (!hostInk[i] && !shownInk[i] && host.pixels[i] != shown.pixels[i]) ++outside;
    }
    EXPECT_EQ(outside, 0) << "pixels that differ away from every label";
    const std::vector<Label> labels = Labels(hostInk, shownInk, host.width, host.height);
    EXPECT_GE(labels.size(), 30u);
    for (const Label& label : labels) {
      const std::string at = label.both.Text();
      ASSERT_FALSE(label.host.Empty() || label.shown.Empty()) << "a label drawn on one side only: " << at;
      // Twice the centres, so that half pixels count.
      EXPECT_LE(std::abs((label.host.left + label.host.right) -
                         (label.shown.left + label.shown.right)), 3) << at;
      EXPECT_LE(std::abs((label.host.top + label.host.bottom) -
                         (label.shown.top + label.shown.bottom)), 3) << at;
    }
  }
}

}  // namespace
}  // namespace wine_test
