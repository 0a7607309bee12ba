#include "ScreenCapture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "PngWriter.h"

bool SaveScreenPng(const RECT& area, const std::wstring& path, std::wstring* error) {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT clip;
  if (!IntersectRect(&clip, &area, &screen)) {
    *error = L"the area lies outside the screen";
    return false;
  }
  int width = clip.right - clip.left, height = clip.bottom - clip.top;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screenDC = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screenDC);
  HBITMAP section = CreateDIBSection(screenDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool captured = false;
  if (memory && section && bits) {
    HGDIOBJ old = SelectObject(memory, section);
    captured = BitBlt(memory, 0, 0, width, height, screenDC, clip.left, clip.top,
                      SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  std::vector<uint8_t> rgb;
  if (captured) {
    // DIB rows are padded to four bytes and hold blue, green, red.
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    rgb.resize(static_cast<size_t>(width) * height * 3);
    const uint8_t* source = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = source + stride * y;
      uint8_t* out = &rgb[static_cast<size_t>(y) * width * 3];
      for (int x = 0; x < width; ++x) {
        out[3 * x] = row[3 * x + 2];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x + 2] = row[3 * x];
      }
    }
  }
  if (section) DeleteObject(section);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screenDC);
  if (!captured) {
    *error = L"the screen could not be read";
    return false;
  }

  std::vector<uint8_t> png = EncodePng(width, height, rgb.data());
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) {
    *error = L"cannot write " + path;
    return false;
  }
  bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
  written = fclose(file) == 0 && written;
  if (!written) *error = L"cannot write " + path;
  return written;
}
