// The screenshot encoder: the file is read back the way a PNG decoder reads it, with checksums
// computed here independently of the encoder's tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/demo-terminal/PngWriter.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint32_t>(bytes.at(at)) << 24 | static_cast<uint32_t>(bytes.at(at + 1)) << 16 |
         static_cast<uint32_t>(bytes.at(at + 2)) << 8 | bytes.at(at + 3);
}

// Bit-by-bit CRC-32, no table.
uint32_t SlowCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

uint32_t SlowAdler(const std::vector<uint8_t>& data) {
  uint64_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return static_cast<uint32_t>(b << 16 | a);
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
};

// Splits the file into chunks, checking each CRC.
std::vector<Chunk> ReadChunks(const std::vector<uint8_t>& png) {
  std::vector<Chunk> chunks;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = BigEndian(png, at);
    Chunk chunk;
    chunk.type.assign(reinterpret_cast<const char*>(&png[at + 4]), 4);
    chunk.data.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
    EXPECT_EQ(BigEndian(png, at + 8 + length), SlowCrc(&png[at + 4], length + 4)) << chunk.type;
    chunks.push_back(chunk);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// Undoes a zlib stream made of stored blocks; *blocks counts them.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& zlib, int* blocks) {
  std::vector<uint8_t> out;
  EXPECT_EQ(zlib.at(0) & 0x0F, 8);  // deflate
  EXPECT_EQ((zlib.at(0) << 8 | zlib.at(1)) % 31, 0);
  EXPECT_EQ(zlib.at(1) & 0x20, 0);  // no preset dictionary
  size_t at = 2;
  *blocks = 0;
  for (bool last = false; !last;) {
    uint8_t header = zlib.at(at);
    last = header & 1;
    EXPECT_EQ(header >> 1, 0) << "stored block expected";
    uint32_t length = zlib.at(at + 1) | zlib.at(at + 2) << 8;
    uint32_t inverse = zlib.at(at + 3) | zlib.at(at + 4) << 8;
    EXPECT_EQ(length ^ 0xFFFF, inverse);
    out.insert(out.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
    at += 5 + length;
    ++*blocks;
  }
  EXPECT_EQ(BigEndian(zlib, at), SlowAdler(out));
  EXPECT_EQ(at + 4, zlib.size());
  return out;
}

TEST(PngWriterTest, ChecksumsMatchTheirStandardValues) {
  const char* text = "123456789";
  EXPECT_EQ(PngCrc32(reinterpret_cast<const uint8_t*>(text), 9), 0xCBF43926u);
  // Continuing a CRC gives the CRC of the whole.
  EXPECT_EQ(PngCrc32(reinterpret_cast<const uint8_t*>(text + 4), 5,
                     PngCrc32(reinterpret_cast<const uint8_t*>(text), 4)),
            0xCBF43926u);
  EXPECT_EQ(PngAdler32(reinterpret_cast<const uint8_t*>("Wikipedia"), 9), 0x11E60398u);
  // Long runs of 0xFF exercise the deferred modulo.
  std::vector<uint8_t> ones(100000, 0xFF);
  EXPECT_EQ(PngAdler32(ones.data(), ones.size()), SlowAdler(ones));
}

TEST(PngWriterTest, TwoByTwoImageDecodesToItsPixels) {
  const uint8_t rgb[] = {255, 0, 0,   0,  255, 0,  // red, green
                         0,   0, 255, 10, 20,  30};
  std::vector<uint8_t> png = EncodePng(2, 2, rgb);
  const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GE(png.size(), 8u);
  EXPECT_EQ(memcmp(png.data(), signature, 8), 0);

  std::vector<Chunk> chunks = ReadChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  const std::vector<uint8_t> ihdr = {0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0};
  EXPECT_EQ(chunks[0].data, ihdr);
  EXPECT_EQ(chunks[2].type, "IEND");

  int blocks = 0;
  std::vector<uint8_t> raw = Inflate(chunks[1].data, &blocks);
  const std::vector<uint8_t> expected = {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 10, 20, 30};
  EXPECT_EQ(raw, expected);
  EXPECT_EQ(blocks, 1);
}

TEST(PngWriterTest, LargeImageSpansSeveralStoredBlocks) {
  const int width = 300, height = 100;  // 90,100 bytes of scanlines: two blocks
  std::vector<uint8_t> rgb(width * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  std::vector<Chunk> chunks = ReadChunks(EncodePng(width, height, rgb.data()));
  ASSERT_EQ(chunks.size(), 3u);
  int blocks = 0;
  std::vector<uint8_t> raw = Inflate(chunks[1].data, &blocks);
  EXPECT_EQ(blocks, 2);
  ASSERT_EQ(raw.size(), static_cast<size_t>(height * (width * 3 + 1)));
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = &raw[y * (width * 3 + 1)];
    ASSERT_EQ(row[0], 0) << "row " << y;
    ASSERT_EQ(memcmp(row + 1, &rgb[y * width * 3], width * 3), 0) << "row " << y;
  }
}

TEST(PngWriterTest, EmptyImageGivesNoFile) {
  const uint8_t pixel[3] = {1, 2, 3};
  EXPECT_TRUE(EncodePng(0, 1, pixel).empty());
  EXPECT_TRUE(EncodePng(1, 1, nullptr).empty());
}

}  // namespace
