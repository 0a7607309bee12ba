// The lines of the panel: what the terminal received and did, with the logger's and the
// statistics service's lines; kept for the panel and the scripts' expectations, and written to
// the log file.
#include <cstdio>

#include "DemoTerminal.h"
#include "DemoWindows.h"
#include "platform/Utf8.h"

void CDemoTerminal::AddLine(DemoLineKind kind, const std::wstring& text) {
  {
    std::lock_guard<std::mutex> lock(m_linesLock);
    m_lines.push_back({kind, text});
    if (m_pLogFile) {
      std::string utf8 = plat::WideToUtf8(text) + "\n";
      fwrite(utf8.data(), 1, utf8.size(), m_pLogFile);
      fflush(m_pLogFile);
    }
  }
  if (m_pFrame && m_pFrame->m_panel.Wnd())
    ::PostMessageW(m_pFrame->m_panel.Wnd(), WM_DEMO_LINES_CHANGED, 0, 0);
}

std::vector<DemoLine> CDemoTerminal::Lines() {
  std::lock_guard<std::mutex> lock(m_linesLock);
  return m_lines;
}

bool CDemoTerminal::Received(const std::wstring& text) {
  std::lock_guard<std::mutex> lock(m_linesLock);
  for (const DemoLine& line : m_lines)
    if (line.text.find(text) != std::wstring::npos) return true;
  return false;
}

void CDemoTerminal::OnLogLine(void* context, const wchar_t* loggerName, int level,
                              const wchar_t* text) {
  static_cast<CDemoTerminal*>(context)->AddLine(
      DemoLineKind::kInfo,
      FormatText(L"logger %ls (%d): %ls", loggerName ? loggerName : L"", level, text ? text : L""));
}

void CDemoTerminal::OnStatistics(void* context, StatisticsKind kind, int type,
                                 const wchar_t* text) {
  static_cast<CDemoTerminal*>(context)->AddLine(
      DemoLineKind::kInfo, FormatText(L"statistics %ls %d: %ls",
                                      kind == STATISTICS_DATA_TYPE ? L"RecStatisticsDataType"
                                                                   : L"RecStatisticsDataFuncType",
                                      type, text ? text : L""));
}
