// Code page 936 conversions. Windows has the code page built in; elsewhere glibc's iconv knows it
// as GBK (the superset that code page 936 really is), with GB2312 as a fallback name.
#include <cstring>
#include <vector>

#include "TextCodec.h"
#include "frame/DataComFun.h"

#ifdef _WIN32
#include "platform/WinTypes.h"
#else
#include <errno.h>
#include <iconv.h>
#endif

namespace ts {

namespace {

#ifdef _WIN32
const UINT kCodePage936 = 936;
#else
// Converters are kept per thread: iconv descriptors carry shift state and may not be shared by
// threads, and opening one costs more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (!Valid()) {
      if (strcmp(to, "GBK") == 0) m_cd = iconv_open("GB2312", from);
      if (strcmp(from, "GBK") == 0) m_cd = iconv_open(to, "GB2312");
    }
  }
  ~Converter() {
    if (Valid()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  // The descriptor in its initial shift state.
  iconv_t Get() const {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    return m_cd;
  }

 private:
  iconv_t m_cd;
};

Converter& ToGb2312() {
  thread_local Converter converter("GBK", "WCHAR_T");
  return converter;
}

Converter& FromGb2312() {
  thread_local Converter converter("WCHAR_T", "GBK");
  return converter;
}

// Code page 936 decodes a character at a time: ASCII as itself, a lead byte with its trail as one
// character. Every alias a search shows has its name decoded, so the pairs are decoded once,
// through iconv, into a table; whatever the table does not hold (malformed input included) still
// goes through iconv, which decides as before.
class PairTable {
 public:
  PairTable() {
    Converter converter("WCHAR_T", "GBK");
    if (!converter.Valid()) return;
    for (int byte = 1; byte < 0x80; ++byte) {
      const char single[1] = {static_cast<char>(byte)};
      if (DecodeOne(converter, single, 1) != static_cast<wchar_t>(byte)) return;
    }
    m_pairs.assign(static_cast<size_t>(kLeads * kTrails), 0);
    for (int lead = kFirstLead; lead < kFirstLead + kLeads; ++lead)
      for (int trail = kFirstTrail; trail < kFirstTrail + kTrails; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        m_pairs[Index(lead, trail)] = DecodeOne(converter, pair, 2);
      }
  }

  // Decodes `length` bytes into `out` (room for `length` characters); the characters written, or
  // -1 where iconv must decide.
  long Decode(const char* text, size_t length, wchar_t* out) const {
    if (m_pairs.empty()) return -1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    long written = 0;
    for (size_t i = 0; i < length; ++i) {
      const unsigned char lead = bytes[i];
      if (lead < 0x80) {
        out[written++] = lead;
        continue;
      }
      if (i + 1 >= length || lead < kFirstLead || lead >= kFirstLead + kLeads) return -1;
      const unsigned char trail = bytes[++i];
      if (trail < kFirstTrail || trail >= kFirstTrail + kTrails) return -1;
      const wchar_t character = m_pairs[Index(lead, trail)];
      if (!character) return -1;
      out[written++] = character;
    }
    return written;
  }

 private:
  static const int kFirstLead = 0x81, kLeads = 0xFE - 0x81 + 1;
  static const int kFirstTrail = 0x40, kTrails = 0xFE - 0x40 + 1;

  static size_t Index(int lead, int trail) {
    return static_cast<size_t>((lead - kFirstLead) * kTrails + (trail - kFirstTrail));
  }

  // The one character `bytes` decode to, or 0 when they are not exactly one character.
  static wchar_t DecodeOne(Converter& converter, const char* bytes, size_t length) {
    iconv_t cd = converter.Get();
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    wchar_t decoded[2] = {0, 0};
    char* outPtr = reinterpret_cast<char*>(decoded);
    size_t outLeft = sizeof(decoded);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
      return 0;
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;
    return outLeft == sizeof(wchar_t) ? decoded[0] : 0;
  }

  std::vector<wchar_t> m_pairs;  // by lead and trail; 0 where iconv must decide
};

const PairTable& Pairs() {
  static const PairTable table;
  return table;
}
#endif

}  // namespace

bool WideToGb2312(const std::wstring& text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
#ifdef _WIN32
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(kCodePage936, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return false;
  out.resize(static_cast<size_t>(needed));
  WideCharToMultiByte(kCodePage936, 0, text.data(), length, &out[0], needed, nullptr, nullptr);
  return true;
#else
  Converter& converter = ToGb2312();
  if (!converter.Valid()) return false;
  iconv_t cd = converter.Get();
  char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(wchar_t);
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof(buffer);
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // A character the code page lacks (or a broken one): replaced like WideCharToMultiByte does.
    out.push_back('?');
    const size_t skip = inLeft < sizeof(wchar_t) ? inLeft : sizeof(wchar_t);
    in += skip;
    inLeft -= skip;
  }
  return true;
#endif
}

bool Gb2312ToWide(const char* text, std::wstring& out) {
  out.clear();
  if (!text) return false;
  if (!*text) return true;
#ifdef _WIN32
  const int needed = MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (needed <= 0) return false;
  out.resize(static_cast<size_t>(needed));
  if (MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, text, -1, &out[0], needed) <= 0)
    return false;
  out.resize(static_cast<size_t>(needed - 1));  // drop the terminator
  return true;
#else
  const size_t length = strlen(text);
  std::wstring buffer(length + 1, L'\0');  // never more characters than bytes
  const long decoded = Pairs().Decode(text, length, &buffer[0]);
  if (decoded >= 0) {
    buffer.resize(static_cast<size_t>(decoded));
    out.swap(buffer);
    return true;
  }
  Converter& converter = FromGb2312();
  if (!converter.Valid()) return false;
  iconv_t cd = converter.Get();
  char* in = const_cast<char*>(text);
  size_t inLeft = length;
  char* outPtr = reinterpret_cast<char*>(&buffer[0]);
  size_t outLeft = buffer.size() * sizeof(wchar_t);
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  buffer.resize(buffer.size() - outLeft / sizeof(wchar_t));
  out.swap(buffer);
  return true;
#endif
}

size_t Gb2312PrefixLength(const std::string& text, size_t maxBytes) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t step = static_cast<unsigned char>(text[i]) >= 0x81 ? 2 : 1;
    if (i + step > maxBytes || i + step > text.size()) break;
    i += step;
  }
  return i;
}

}  // namespace ts

bool CDataComFun::GB2312ToUnicode(const char* text, wchar_t*& out) {
  out = nullptr;
#ifndef _WIN32
  // Straight into the caller's buffer when the table decides: no copy on the way.
  if (text) {
    const size_t length = strlen(text);
    wchar_t* decoded = new wchar_t[length + 1];
    const long written = ts::Pairs().Decode(text, length, decoded);
    if (written >= 0) {
      decoded[written] = 0;
      out = decoded;
      return true;
    }
    delete[] decoded;
  }
#endif
  std::wstring wide;
  if (!ts::Gb2312ToWide(text, wide)) return false;
  out = new wchar_t[wide.size() + 1];
  memcpy(out, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  return true;
}
