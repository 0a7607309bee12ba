// The terminal's logger.
#pragma once

#include "Export.h"
#include "RefPtr.h"
#include "Unknown.h"

enum LIGHT_LOG_FILE_TYPE { LIGHT_LOG_FILE_DEFAULT = 0, LIGHT_LOG_FILE_TIMING = 1 };

namespace LightLogger {

class CLogger : public CUnknown {
 public:
  // A logger writing to the file of that name; never null.
  TS_API static TRefPtr<CLogger> GetLogger(const wchar_t* name, LIGHT_LOG_FILE_TYPE type);

  virtual void SetLogLevel(int level) = 0;
  // Written when level is at least the logger's level.
  virtual void WriteLogLine(const wchar_t* text, int level) = 0;
};

}  // namespace LightLogger
