// The host's loggers: one file per name below the log directory, lines filtered by level, nothing
// written without a directory or a line.
#include <gtest/gtest.h>

#include "frame/Logger.h"
#include "services/LoggerHost.h"
#include "support/TempDir.h"

namespace {

using LightLogger::CLogger;

TEST(Logger, WritesOneFilePerNameThroughTheLevelFilter) {
  TempDir dir;
  SetLogDirectory(dir.WideFile().c_str());
  // A logger taken and released without writing leaves nothing behind.
  CLogger::GetLogger(L"[KeyboardInputMappingTable::AddKeyboardItem] DelayTime=  15",
                     LIGHT_LOG_FILE_TIMING);
  EXPECT_TRUE(dir.Entries().empty());
  const wchar_t* kName = L"[CHotKeyManager::InitSmartKeyboardDlg]";
  TRefPtr<CLogger> logger = CLogger::GetLogger(kName, LIGHT_LOG_FILE_DEFAULT);
  ASSERT_TRUE(logger && logger->RefCount() == 1);
  logger->SetLogLevel(10000);
  logger->WriteLogLine(L"dropped below the level", 9999);
  logger->WriteLogLine(L"启动 at the level", 10000);
  logger->WriteLogLine(L"above the level", 20000);
  logger->WriteLogLine(nullptr, 20000);
  CLogger::GetLogger(L"SetForegroundWindow", LIGHT_LOG_FILE_DEFAULT)->WriteLogLine(L"x", 20000);

  EXPECT_EQ(LogFilePath(kName), dir.WideFile("_CHotKeyManager__InitSmartKeyboardDlg_.log"));
  const std::vector<std::string> lines =
      ReadLines(dir.File("_CHotKeyManager__InitSmartKeyboardDlg_.log"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("[10000] 启动 at the level"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("[20000] above the level"), std::string::npos) << lines[1];
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"SetForegroundWindow.log",
                                      "_CHotKeyManager__InitSmartKeyboardDlg_.log"}));
  EXPECT_EQ(LogFilePath(L"../.."), dir.WideFile("_._...log"));  // cannot climb out
  EXPECT_EQ(LogFilePath(L""), dir.WideFile("log.log"));

  SetLogDirectory(nullptr);  // nothing is written without a directory
  EXPECT_EQ(LogFilePath(L"x"), L"");
  CLogger::GetLogger(L"y", LIGHT_LOG_FILE_DEFAULT)->WriteLogLine(L"nowhere to go", 10000);
  EXPECT_EQ(dir.Entries().size(), 2u);
}

}  // namespace
