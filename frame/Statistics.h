// The terminal's usage statistics monitor.
#pragma once

#include "Export.h"

TS_API void RecStatisticsDataType(int type, const wchar_t* text);
TS_API void RecStatisticsDataFuncType(int type, const wchar_t* text);
