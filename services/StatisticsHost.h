// Host side of the usage statistics: the optional file, the counts kept in memory, and a hook
// through which tests record the calls.
#pragma once

#include <string>

#include "frame/Export.h"
#include "frame/Statistics.h"

// Which of the two recording functions was called.
enum StatisticsKind { STATISTICS_DATA_TYPE = 0, STATISTICS_DATA_FUNC_TYPE = 1 };

// File to which every record is appended as one UTF-8 line
// "<time>\t<DataType|DataFuncType>\t<type>\t<text>". Null or empty: no file (the initial state).
TS_API void SetStatisticsFile(const wchar_t* path);
// Records of that kind and type since the last reset.
TS_API int StatisticsCount(StatisticsKind kind, int type);
// Text of the latest such record; empty if there was none (or its text was null).
TS_API std::wstring StatisticsLastText(StatisticsKind kind, int type);
// Forgets every count and text; the file and the hook stay.
TS_API void ResetStatistics();

// Called for every record after it is counted, on the recording thread, outside the lock.
typedef void (*StatisticsHook)(void* context, StatisticsKind kind, int type, const wchar_t* text);
TS_API void SetStatisticsHook(StatisticsHook hook, void* context);
