// Market, sign and price helpers of the data centre. The component supplies the market tests,
// sign tests and price change; the data centre supplies the rest.
#pragma once

#include "Export.h"

class CDataComFun {
 public:
  HKM_API static bool IsQiQuan(unsigned char market);
  HKM_API static bool IsUSAStock(unsigned char market);
  HKM_API static bool IsUKStock(unsigned char market);
  HKM_API static bool IsZeroValue(double value);
  HKM_API static bool IsPositive(double value);
  HKM_API static bool IsNegative(double value);
  HKM_API static float CalcZhangDie(float newPrice, float oldPrice, int places);
  HKM_API static double CalcZhangDie(double newPrice, double oldPrice, int places);
  HKM_API CDataComFun& operator=(const CDataComFun& other);

  // Depositary receipt: Shanghai code beginning with 689, or marked so by the security master.
  TS_API static bool IsCdr(unsigned char market, const char* code);
  // Beijing A share: six digits beginning with 43, 83, 87, 88 or 92.
  TS_API static bool IsBJAGu(const char* code, unsigned char market);
  // Rounds half away from zero to the given number of decimal places.
  TS_API static float SiSheWuRuFloatValue(float value, int places);
  TS_API static double SiSheWuRuFloatValue(double value, int places);
  // Converts a GB2312 (code page 936) string; *out gets a new[] string the caller delete[]s.
  TS_API static bool GB2312ToUnicode(const char* text, wchar_t*& out);
};
