// A small PNG encoder for screenshots: 8-bit RGB, no filtering, the image data in stored
// (uncompressed) deflate blocks. Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// CRC-32 of the PNG chunks (polynomial 0xEDB88320); pass a previous result to continue.
uint32_t PngCrc32(const uint8_t* data, size_t size, uint32_t previous = 0);

// Adler-32 of the zlib stream.
uint32_t PngAdler32(const uint8_t* data, size_t size);

// The PNG file of an image given as height rows of width × 3 bytes (red, green, blue), top row
// first. Empty for a zero or negative size, or one whose data would not fit a PNG.
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* rgb);
