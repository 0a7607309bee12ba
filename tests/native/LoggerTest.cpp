#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "frame/Logger.h"
#include "services/LoggerHost.h"
#include "support/TempDir.h"

namespace {

using LightLogger::CLogger;

// Points the loggers at a fresh directory and restores the quiet state afterwards.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLogDirectory(m_dir.WidePath().c_str()); }
  void TearDown() override {
    SetLogDirectory(nullptr);
    SetLogLineHook(nullptr, nullptr);
    SetLoggerFactory(nullptr, nullptr);
  }
  TempDir m_dir;
};

std::string Narrow(const std::wstring& path) { return std::string(path.begin(), path.end()); }

TEST_F(LoggerTest, WritesOneFilePerNameThroughTheLevelFilter) {
  const wchar_t* kName = L"[CHotKeyManager::InitSmartKeyboardDlg]";
  TRefPtr<CLogger> logger = CLogger::GetLogger(kName, LIGHT_LOG_FILE_DEFAULT);
  ASSERT_TRUE(logger);
  EXPECT_EQ(logger->RefCount(), 1);
  logger->SetLogLevel(10000);
  logger->WriteLogLine(L"dropped below the level", 9999);
  logger->WriteLogLine(L"启动 at the level", 10000);
  logger->WriteLogLine(L"above the level", 20000);
  logger->WriteLogLine(nullptr, 20000);

  TRefPtr<CLogger> other = CLogger::GetLogger(L"SetForegroundWindow", LIGHT_LOG_FILE_DEFAULT);
  other->WriteLogLine(L"CSmartKeyboardDlg::ActivateOnExactPos", 20000);

  const std::wstring path = LogFilePath(kName);
  EXPECT_EQ(path, m_dir.WideFile("_CHotKeyManager__InitSmartKeyboardDlg_.log"));
  const std::vector<std::string> lines = SplitLines(ReadTextFile(Narrow(path)));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("[10000] 启动 at the level"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("[20000] above the level"), std::string::npos) << lines[1];

  const std::vector<std::string> expected = {"SetForegroundWindow.log",
                                             "_CHotKeyManager__InitSmartKeyboardDlg_.log"};
  EXPECT_EQ(m_dir.Entries(), expected);
}

TEST_F(LoggerTest, NoFileWithoutDirectoryOrWithoutLines) {
  // A logger taken and released without writing leaves nothing behind.
  CLogger::GetLogger(L"[KeyboardInputMappingTable::AddKeyboardItem] DelayTime=  15",
                     LIGHT_LOG_FILE_TIMING);
  EXPECT_TRUE(m_dir.Entries().empty());

  SetLogDirectory(nullptr);
  EXPECT_EQ(LogFilePath(L"x"), L"");
  TRefPtr<CLogger> logger = CLogger::GetLogger(L"x", LIGHT_LOG_FILE_DEFAULT);
  ASSERT_TRUE(logger);
  logger->WriteLogLine(L"nowhere to go", 10000);
  EXPECT_TRUE(m_dir.Entries().empty());

  EXPECT_EQ(LogFilePath(L"../.."), L"");
  SetLogDirectory(m_dir.WidePath().c_str());
  EXPECT_EQ(LogFilePath(L"../.."), m_dir.WideFile("_._...log"));  // cannot climb out
  EXPECT_EQ(LogFilePath(L""), m_dir.WideFile("log.log"));
}

TEST_F(LoggerTest, LinesOfConcurrentWritersStayWhole) {
  const int kThreads = 4, kEach = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      TRefPtr<CLogger> logger = CLogger::GetLogger(L"shared", LIGHT_LOG_FILE_DEFAULT);
      for (int i = 0; i < kEach; ++i)
        logger->WriteLogLine(
            (L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(i) + L" end").c_str(),
            10000);
    });
  for (auto& thread : threads) thread.join();
  const std::vector<std::string> lines = SplitLines(ReadTextFile(m_dir.File("shared.log")));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kEach));
  for (const std::string& line : lines) EXPECT_EQ(line.substr(line.size() - 4), " end") << line;
}

struct RecordedLines {
  std::vector<std::wstring> names, texts;
  std::vector<int> levels;
};

void RecordLine(void* context, const wchar_t* name, int level, const wchar_t* text) {
  RecordedLines* lines = static_cast<RecordedLines*>(context);
  lines->names.push_back(name);
  lines->levels.push_back(level);
  lines->texts.push_back(text);
}

class CRecordingLogger : public CLogger {
 public:
  explicit CRecordingLogger(LIGHT_LOG_FILE_TYPE type) : m_type(type) {}
  void SetLogLevel(int level) override { m_nLevel = level; }
  void WriteLogLine(const wchar_t*, int) override {}
  LIGHT_LOG_FILE_TYPE m_type;
  int m_nLevel = -1;
};

CLogger* MakeRecordingLogger(void* context, const wchar_t* name, LIGHT_LOG_FILE_TYPE type) {
  if (std::wstring(name) == L"default") return nullptr;  // the real logger serves this one
  ++*static_cast<int*>(context);
  return new CRecordingLogger(type);
}

TEST_F(LoggerTest, TestsCanWatchOrReplaceLoggers) {
  RecordedLines recorded;
  SetLogLineHook(&RecordLine, &recorded);
  TRefPtr<CLogger> logger = CLogger::GetLogger(L"watched", LIGHT_LOG_FILE_DEFAULT);
  logger->SetLogLevel(10000);
  logger->WriteLogLine(L"filtered", 1);
  logger->WriteLogLine(L"seen", 10000);
  ASSERT_EQ(recorded.texts.size(), 1u);
  EXPECT_EQ(recorded.names[0], L"watched");
  EXPECT_EQ(recorded.levels[0], 10000);
  EXPECT_EQ(recorded.texts[0], L"seen");

  int made = 0;
  SetLoggerFactory(&MakeRecordingLogger, &made);
  TRefPtr<CLogger> replaced = CLogger::GetLogger(L"anything", LIGHT_LOG_FILE_TIMING);
  CRecordingLogger* recording = dynamic_cast<CRecordingLogger*>(replaced.get());
  ASSERT_NE(recording, nullptr);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(recording->m_type, LIGHT_LOG_FILE_TIMING);
  EXPECT_EQ(replaced->RefCount(), 1);
  EXPECT_EQ(
      dynamic_cast<CRecordingLogger*>(CLogger::GetLogger(L"default", LIGHT_LOG_FILE_DEFAULT).get()),
      nullptr);
}

}  // namespace
