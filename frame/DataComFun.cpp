// The data-centre helpers that the component supplies: market tests, sign tests, price change.
#include "DataComFun.h"

namespace {

const double kTolerance = 0.00001;

}  // namespace

bool CDataComFun::IsQiQuan(unsigned char market) {
  return market == 10 || market == 11 || market == 12;
}

bool CDataComFun::IsUSAStock(unsigned char market) {
  return market == 105 || market == 106 || market == 107;
}

bool CDataComFun::IsUKStock(unsigned char market) { return market == 155 || market == 156; }

// Written as comparisons so that NaN, which fails every comparison, is none of the three.
bool CDataComFun::IsZeroValue(double value) { return value > -kTolerance && value < kTolerance; }

bool CDataComFun::IsPositive(double value) { return value >= kTolerance; }

bool CDataComFun::IsNegative(double value) { return value <= -kTolerance; }

float CDataComFun::CalcZhangDie(float newPrice, float oldPrice, int places) {
  return SiSheWuRuFloatValue(newPrice, places) - SiSheWuRuFloatValue(oldPrice, places);
}

double CDataComFun::CalcZhangDie(double newPrice, double oldPrice, int places) {
  return SiSheWuRuFloatValue(newPrice, places) - SiSheWuRuFloatValue(oldPrice, places);
}

CDataComFun& CDataComFun::operator=(const CDataComFun& /*other*/) { return *this; }
