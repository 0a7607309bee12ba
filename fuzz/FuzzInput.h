// Reading fuzzer input as the component's inputs: wide texts, numbers and choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_at >= m_size; }
  uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
  unsigned Word() { return Byte() | (static_cast<unsigned>(Byte()) << 8); }

  // A wide text of up to maxLength characters. Most characters come from a small alphabet that
  // makes keys share prefixes (letters of both cases, digits, space, full-width forms); the rest
  // are any 16-bit unit or, where wchar_t is 32 bits, any code point up to U+10FFFF.
  std::wstring Text(size_t maxLength) {
    static const wchar_t kCommon[] = L"06AZaz \xFF21\xFF41\xFF10\x6D66\x0131-";
    const size_t commonCount = sizeof(kCommon) / sizeof(kCommon[0]) - 1;
    std::wstring text;
    size_t length = Byte() % (maxLength + 1);
    while (text.size() < length && !Empty()) {
      uint8_t pick = Byte();
      if (pick < 0xC0) {
        text += kCommon[pick % commonCount];
      } else if (pick < 0xF0 || sizeof(wchar_t) == 2) {
        unsigned unit = Word();
        if (unit) text += static_cast<wchar_t>(unit);
      } else {
        uint32_t point = (Word() | (static_cast<uint32_t>(Byte()) << 16)) % 0x110000;
        if (point) text += static_cast<wchar_t>(point);
      }
    }
    return text;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_at = 0;
};
