// Price rounding. A price such as 2.675 is stored in binary as 2.67499999..., yet the trader
// means 2.675 and expects 2.68. So the value is rounded as the shortest decimal text that reads
// back as the same binary value, half away from zero, and the rounded text is read back.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/DataComFun.h"

namespace {

float ReadBack(const char* text, float) { return strtof(text, nullptr); }
double ReadBack(const char* text, double) { return strtod(text, nullptr); }

// Shortest scientific text "[-]d.ddde[+-]xx" of value. Fewer digits than minDigits would only
// drop trailing zeros, which do not change the rounding.
template <class T>
std::string ShortestText(T value, int minDigits, int maxDigits) {
  char buffer[64];
  for (int digits = minDigits; digits <= maxDigits; ++digits) {
    snprintf(buffer, sizeof(buffer), "%.*e", digits - 1, static_cast<double>(value));
    if (ReadBack(buffer, value) == value) break;
  }
  return buffer;
}

template <class T>
T RoundHalfAwayFromZero(T value, int places, int minDigits, int maxDigits) {
  if (!std::isfinite(value)) return value;
  if (places < 0) places = 0;
  const std::string text = ShortestText(value, minDigits, maxDigits);

  const bool negative = text[0] == '-';
  size_t pos = negative ? 1 : 0;
  std::string digits;
  for (; pos < text.size() && text[pos] != 'e'; ++pos)
    if (text[pos] != '.') digits.push_back(text[pos]);
  long long exponent = atol(text.c_str() + pos + 1);

  // Digit i weighs 10^(exponent - i); those down to 10^-places are kept.
  const long long keep = exponent + places + 1;
  if (keep >= static_cast<long long>(digits.size())) return value;  // nothing to drop
  std::string kept;
  bool roundUp;
  if (keep < 0) {
    roundUp = false;
  } else {
    kept = digits.substr(0, static_cast<size_t>(keep));
    roundUp = digits[static_cast<size_t>(keep)] >= '5';
  }
  if (roundUp) {
    if (kept.empty()) {
      kept = "1";  // 0.5 units of the last place become one unit
      exponent = -places;
    } else {
      size_t i = kept.size();
      while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
      if (i == 0) {
        kept.insert(kept.begin(), '1');
        kept.pop_back();
        ++exponent;
      } else {
        ++kept[i - 1];
      }
    }
  }
  if (kept.empty() || kept.find_first_not_of('0') == std::string::npos) return T(0);

  std::string result = negative ? "-" : "";
  result += kept[0];
  if (kept.size() > 1) result += "." + kept.substr(1);
  result += "e" + std::to_string(exponent);
  return ReadBack(result.c_str(), value);
}

}  // namespace

float CDataComFun::SiSheWuRuFloatValue(float value, int places) {
  return RoundHalfAwayFromZero(value, places, 6, 9);
}

double CDataComFun::SiSheWuRuFloatValue(double value, int places) {
  return RoundHalfAwayFromZero(value, places, 15, 17);
}
