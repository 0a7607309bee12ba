#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <ext/stdio_filebuf.h>

#include <cstdio>
#include <iostream>
#include <map>

#include "frame/RefPtr.h"
#include "services/SecurityMaster.h"
#include "services/TerminalEnv.h"
#include "tools/synth/SyntheticMarket.h"

namespace bench {

namespace {

const uint32_t kSeed = 20240611;

}  // namespace

BenchHost::BenchHost() : m_env(new CTerminalEnv), m_master(new CSecurityMaster) {
  m_env->SetDataMgr(m_master.get());
  CGlobalEnv::SetGlobalEnv(m_env.get());
}

BenchHost::~BenchHost() {
  CGlobalEnv::SetGlobalEnv(nullptr);
  m_env->SetDataMgr(nullptr);
}

Manager::Manager() {
  IUnknown* unknown = nullptr;
  if (GetClassObject(&unknown, HOTKEY_MANAGER_CLSID) == S_OK)
    m_pManager = static_cast<IHotKeyManager*>(unknown);
}

Manager::~Manager() {
  if (!m_pManager) return;
  m_pManager->Uninitialize();
  m_pManager->Release();
}

const std::vector<KeyboardItemInfo>& Market(int count) {
  static std::map<int, std::vector<KeyboardItemInfo>> markets;
  std::vector<KeyboardItemInfo>& records = markets[count];
  if (!records.empty()) return records;
  const std::vector<SynthItem> items = GenerateMarket(static_cast<size_t>(count), kSeed);
  records.reserve(items.size());
  for (const SynthItem& item : items) {
    records.emplace_back(item.code.c_str(), item.hotkey.c_str(), item.name.c_str(), item.type,
                         item.extra, nullptr, item.kind, KEYBOARD_SELECT_NONE);
    records.back().m_cMarket = item.market;
  }
  return records;
}

int RunBenchmarks(int argc, char** argv) {
  fflush(stdout);
  const int reportFd = dup(STDOUT_FILENO);
  const int quiet = open("/dev/null", O_WRONLY);
  if (reportFd < 0 || quiet < 0) return 1;
  dup2(quiet, STDOUT_FILENO);
  close(quiet);
  __gnu_cxx::stdio_filebuf<char> reportBuffer(reportFd, std::ios::out);
  std::ostream report(&reportBuffer);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchHost host;
  benchmark::ConsoleReporter reporter(isatty(reportFd) ? benchmark::ConsoleReporter::OO_Defaults
                                                       : benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&report);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  report.flush();
  return 0;
}

}  // namespace bench
