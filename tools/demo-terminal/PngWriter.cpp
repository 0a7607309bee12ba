#include "PngWriter.h"

#include <array>
#include <cstring>

namespace {

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 24));
  out.push_back(static_cast<uint8_t>(value >> 16));
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, PngCrc32(out.data() + typeAt, out.size() - typeAt));
}

// Largest payload of one stored deflate block.
const size_t kStoredBlockMax = 65535;

}  // namespace

uint32_t PngCrc32(const uint8_t* data, size_t size, uint32_t previous) {
  const std::array<uint32_t, 256>& table = CrcTable();
  uint32_t c = previous ^ 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

uint32_t PngAdler32(const uint8_t* data, size_t size) {
  const uint32_t kMod = 65521;
  uint32_t a = 1, b = 0;
  while (size > 0) {
    // 5552 bytes is the longest run whose sums cannot overflow 32 bits before the reduction.
    size_t run = size < 5552 ? size : 5552;
    size -= run;
    while (run-- > 0) {
      a += *data++;
      b += a;
    }
    a %= kMod;
    b %= kMod;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* rgb) {
  if (width <= 0 || height <= 0 || !rgb) return {};
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  // Each row starts with its filter type (0: none).
  const uint64_t rawSize = static_cast<uint64_t>(rowBytes + 1) * static_cast<uint64_t>(height);
  if (rawSize > 0x7FFFFFFFu / 2) return {};

  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(rawSize));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const uint8_t* row = rgb + static_cast<size_t>(y) * rowBytes;
    raw.insert(raw.end(), row, row + rowBytes);
  }

  std::vector<uint8_t> zlib;
  size_t blocks = raw.empty() ? 1 : (raw.size() + kStoredBlockMax - 1) / kStoredBlockMax;
  zlib.reserve(raw.size() + blocks * 5 + 6);
  zlib.push_back(0x78);  // deflate, 32 KiB window
  zlib.push_back(0x01);  // no dictionary, fastest; (0x78 << 8 | 0x01) is a multiple of 31
  for (size_t offset = 0, block = 0; block < blocks; ++block) {
    size_t length = raw.size() - offset < kStoredBlockMax ? raw.size() - offset : kStoredBlockMax;
    bool last = block + 1 == blocks;
    zlib.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    zlib.push_back(static_cast<uint8_t>(length));
    zlib.push_back(static_cast<uint8_t>(length >> 8));
    zlib.push_back(static_cast<uint8_t>(~length));
    zlib.push_back(static_cast<uint8_t>(~length >> 8));
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  }
  PutBigEndian(zlib, PngAdler32(raw.data(), raw.size()));

  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.push_back(8);  // bits per sample
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // compression: deflate
  header.push_back(0);  // filter method 0
  header.push_back(0);  // no interlace

  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> png(kSignature, kSignature + 8);
  png.reserve(zlib.size() + 64);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});
  return png;
}
