// Host side of the logger: where log files go, and hooks through which tests watch or replace
// the loggers that CLogger::GetLogger hands out.
#pragma once

#include <string>

#include "frame/Export.h"
#include "frame/Logger.h"

// Directory of the log files, one file per logger name. Null or empty (the initial state):
// nothing is written, although loggers still work.
TS_API void SetLogDirectory(const wchar_t* directory);
// The file that a logger of this name writes to; empty while there is no directory.
TS_API std::wstring LogFilePath(const wchar_t* loggerName);

// Called for every line that passes a default logger's level filter, whether or not a file is
// written. The hook runs on the writing thread, outside the services' locks.
typedef void (*LogLineHook)(void* context, const wchar_t* loggerName, int level,
                            const wchar_t* text);
TS_API void SetLogLineHook(LogLineHook hook, void* context);

// Replaces the loggers that GetLogger creates: the factory returns a new logger (count 0), or
// null to fall back to the default one. Null removes the factory.
typedef LightLogger::CLogger* (*LoggerFactory)(void* context, const wchar_t* name,
                                               LIGHT_LOG_FILE_TYPE type);
TS_API void SetLoggerFactory(LoggerFactory factory, void* context);
