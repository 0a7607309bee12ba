// The default logger: lines appended to "<directory>/<logger name>.log" as UTF-8.
#include <atomic>
#include <cwchar>
#include <mutex>
#include <string>

#include "HostFiles.h"
#include "HostLog.h"
#include "LoggerHost.h"
#include "platform/Utf8.h"

namespace {

struct LoggerSettings {
  std::mutex mutex;
  std::wstring directory;
  LogLineHook hook = nullptr;
  void* hookContext = nullptr;
  LoggerFactory factory = nullptr;
  void* factoryContext = nullptr;
};

LoggerSettings& Settings() {
  static LoggerSettings settings;
  return settings;
}

// Serialises appends so that lines of two threads never interleave.
std::mutex& WriteMutex() {
  static std::mutex mutex;
  return mutex;
}

// Logger names are function tags such as "[CHotKeyManager::Initialize]": everything but
// letters, digits, '-', '_' and inner dots becomes '_'.
std::wstring FileNameFor(const wchar_t* name) {
  const size_t kMaxLength = 120;
  std::wstring file;
  for (const wchar_t* p = name; p && *p && file.size() < kMaxLength; ++p) {
    const wchar_t c = *p;
    const bool keep = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                      (c >= L'0' && c <= L'9') || c == L'-' || c == L'_' ||
                      (c == L'.' && !file.empty());
    file.push_back(keep ? c : L'_');
  }
  if (file.empty()) file = L"log";
  return file + L".log";
}

class CFileLogger : public LightLogger::CLogger {
 public:
  explicit CFileLogger(const wchar_t* name) : m_name(name ? name : L""), m_nLevel(0) {}

  void SetLogLevel(int level) override { m_nLevel.store(level); }

  void WriteLogLine(const wchar_t* text, int level) override {
    if (!text || level < m_nLevel.load()) return;
    LoggerSettings& settings = Settings();
    std::wstring directory;
    LogLineHook hook;
    void* hookContext;
    {
      std::lock_guard<std::mutex> lock(settings.mutex);
      directory = settings.directory;
      hook = settings.hook;
      hookContext = settings.hookContext;
    }
    if (hook) hook(hookContext, m_name.c_str(), level, text);
    if (directory.empty()) return;
    const std::string line =
        ts::Timestamp() + " [" + std::to_string(level) + "] " + plat::WideToUtf8(text);
    std::lock_guard<std::mutex> lock(WriteMutex());
    ts::AppendLine(ts::JoinPath(directory, FileNameFor(m_name.c_str())), line);
  }

 private:
  const std::wstring m_name;
  std::atomic<int> m_nLevel;  // lines below it are dropped; 0 keeps every ordinary line
};

}  // namespace

void SetLogDirectory(const wchar_t* directory) {
  std::lock_guard<std::mutex> lock(Settings().mutex);
  Settings().directory = directory ? directory : L"";
}

std::wstring LogFilePath(const wchar_t* loggerName) {
  std::lock_guard<std::mutex> lock(Settings().mutex);
  if (Settings().directory.empty()) return std::wstring();
  return ts::JoinPath(Settings().directory, FileNameFor(loggerName));
}

void SetLogLineHook(LogLineHook hook, void* context) {
  std::lock_guard<std::mutex> lock(Settings().mutex);
  Settings().hook = hook;
  Settings().hookContext = context;
}

void SetLoggerFactory(LoggerFactory factory, void* context) {
  std::lock_guard<std::mutex> lock(Settings().mutex);
  Settings().factory = factory;
  Settings().factoryContext = context;
}

namespace LightLogger {

TRefPtr<CLogger> CLogger::GetLogger(const wchar_t* name, LIGHT_LOG_FILE_TYPE type) {
  LoggerFactory factory;
  void* context;
  {
    std::lock_guard<std::mutex> lock(Settings().mutex);
    factory = Settings().factory;
    context = Settings().factoryContext;
  }
  CLogger* logger = factory ? factory(context, name, type) : nullptr;
  if (!logger) logger = new CFileLogger(name);  // the file type does not change where lines go
  return TRefPtr<CLogger>(logger);
}

}  // namespace LightLogger

namespace ts {

void WriteLog(const wchar_t* tag, const std::wstring& text) {
  TRefPtr<LightLogger::CLogger> logger =
      LightLogger::CLogger::GetLogger(tag, LIGHT_LOG_FILE_DEFAULT);
  if (!logger) return;
  logger->SetLogLevel(10000);
  logger->WriteLogLine((std::wstring(tag) + L" " + text).c_str(), 10000);
}

}  // namespace ts
