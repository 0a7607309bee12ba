#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "frame/GlobalEnv.h"
#include "services/TerminalEnv.h"
#include "support/CountingUnknown.h"
#include "support/EnvScope.h"

namespace {

HWND FakeWnd(uintptr_t value) { return reinterpret_cast<HWND>(value); }

TEST(TerminalEnv, InstalledEnvironmentIsSharedAndTornDown) {
  ASSERT_FALSE(CGlobalEnv::GetGlobalEnv());

  UnknownCounters palette, dataMgr;
  CTerminalEnv* env = new CTerminalEnv;
  env->SetPalette(new CCountingUnknown(&palette));
  env->SetDataMgr(new CCountingUnknown(&dataMgr));
  env->SetClosing(true);
  env->SetCommandWnd(FakeWnd(0x10));
  env->SetMainFrameWnd(FakeWnd(0x20));
  CGlobalEnv::SetGlobalEnv(env);
  EXPECT_EQ(env->RefCount(), 1);
  {
    TRefPtr<CGlobalEnv> seen = CGlobalEnv::GetGlobalEnv();
    ASSERT_EQ(seen.get(), env);
    EXPECT_EQ(env->RefCount(), 2);  // the smart pointer holds its own reference
    EXPECT_TRUE(seen->IsClosing());
    EXPECT_EQ(seen->GetCommandWnd(), FakeWnd(0x10));
    EXPECT_EQ(seen->GetMainFrameWnd(), FakeWnd(0x20));
    EXPECT_NE(seen->GetPalette(), nullptr);
    EXPECT_NE(seen->GetDataMgr(), nullptr);
  }
  EXPECT_EQ(env->RefCount(), 1);

  // Replacing a service releases the one it held.
  UnknownCounters second;
  env->SetPalette(new CCountingUnknown(&second));
  EXPECT_EQ(palette.destroyed, 1);

  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_FALSE(CGlobalEnv::GetGlobalEnv());
  EXPECT_EQ(second.destroyed, 1);
  EXPECT_EQ(dataMgr.destroyed, 1);
}

TEST(TerminalEnv, HandOverRoundTrip) {
  EnvScope env;
  UnknownCounters counters;
  CCountingUnknown* object = new CCountingUnknown(&counters);  // count 0, as packages start

  const uint32_t first = env->RegisterHandOver(object);
  const uint32_t second = env->RegisterHandOver(object);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(object->RefCount(), 2);
  EXPECT_EQ(env->PendingHandOverCount(), 2u);
  EXPECT_EQ(env->RegisterHandOver(nullptr), 0u);

  IUnknown* taken = env->TakeHandOver(first);
  EXPECT_EQ(taken, object);
  EXPECT_EQ(object->RefCount(), 2);  // the registry's reference now belongs to the receiver
  EXPECT_EQ(env->TakeHandOver(first), nullptr);
  EXPECT_EQ(env->TakeHandOver(0), nullptr);
  EXPECT_EQ(env->PendingHandOverCount(), 1u);

  taken->Release();
  env->TakeHandOver(second)->Release();
  EXPECT_EQ(counters.destroyed, 1);
}

TEST(TerminalEnv, ObjectsNeverTakenBackAreReleasedOnTeardown) {
  UnknownCounters kept, forgotten, explicitlyReleased;
  IUnknown* taken;
  {
    EnvScope env;
    const uint32_t value = env->RegisterHandOver(new CCountingUnknown(&kept));
    env->RegisterHandOver(new CCountingUnknown(&explicitlyReleased));
    env->ReleaseHandOvers();
    EXPECT_EQ(explicitlyReleased.destroyed, 1);
    EXPECT_EQ(env->TakeHandOver(value), nullptr);

    const uint32_t again = env->RegisterHandOver(new CCountingUnknown(&kept));
    env->RegisterHandOver(new CCountingUnknown(&forgotten));
    taken = env->TakeHandOver(again);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(forgotten.destroyed, 0);
  }
  EXPECT_EQ(forgotten.destroyed, 1);
  EXPECT_EQ(kept.destroyed, 1);  // the first object went with ReleaseHandOvers
  taken->Release();
  EXPECT_EQ(kept.destroyed, 2);
}

TEST(TerminalEnv, ContextValues) {
  EnvScope env;
  const wchar_t* kName = L"CONTEXT_MINI_TRADE_VISIBLE_STATE";
  CPackager<bool>* visible = new CPackager<bool>(true);
  env->SetContextValue(kName, visible);
  EXPECT_EQ(visible->RefCount(), 1);

  IUnknown* value = nullptr;
  env->GetContextValue(&value, kName, kName, 0, 0, 0);
  ASSERT_EQ(value, visible);
  EXPECT_EQ(visible->RefCount(), 2);
  CPackager<bool>* carried = dynamic_cast<CPackager<bool>*>(value);
  ASSERT_NE(carried, nullptr);
  EXPECT_TRUE(carried->m_value);
  value->Release();

  env->GetContextValue(&value, nullptr, kName, 0, 0, 0);  // the second name serves too
  EXPECT_EQ(value, visible);
  value->Release();

  value = reinterpret_cast<IUnknown*>(0x1);
  env->GetContextValue(&value, L"CONTEXT_OTHER", L"CONTEXT_OTHER", 0, 0, 0);
  EXPECT_EQ(value, nullptr);

  UnknownCounters counters;
  env->SetContextValue(L"CONTEXT_OTHER", new CCountingUnknown(&counters));
  env->SetContextValue(L"CONTEXT_OTHER", nullptr);  // removes and releases
  EXPECT_EQ(counters.destroyed, 1);
  env->GetContextValue(&value, L"CONTEXT_OTHER", L"CONTEXT_OTHER", 0, 0, 0);
  EXPECT_EQ(value, nullptr);
}

TEST(TerminalEnv, ConcurrentReadersWhileTheHostSwapsEnvironments) {
  UnknownCounters paletteA, paletteB, registered;
  CTerminalEnv* envA = new CTerminalEnv;
  CTerminalEnv* envB = new CTerminalEnv;
  envA->SetPalette(new CCountingUnknown(&paletteA));
  envB->SetPalette(new CCountingUnknown(&paletteB));
  envA->AddRef();
  envB->AddRef();

  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&] {
      while (!stop.load() || reads.load() < 300) {
        TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
        if (!env) continue;
        if (env->GetPalette() == nullptr) ADD_FAILURE() << "palette lost";
        if (env->RegisterHandOver(new CCountingUnknown(&registered)) == 0) ADD_FAILURE();
        ++reads;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) CGlobalEnv::SetGlobalEnv(i % 2 ? envA : envB);
  stop = true;
  for (auto& reader : readers) reader.join();
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_EQ(envA->RefCount(), 1);
  EXPECT_EQ(envB->RefCount(), 1);
  envA->Release();
  envB->Release();

  // Every object registered in either environment went with it, and so did the palettes.
  EXPECT_EQ(registered.destroyed, reads.load());
  EXPECT_EQ(paletteA.destroyed, 1);
  EXPECT_EQ(paletteB.destroyed, 1);
}

TEST(TerminalEnv, HandOverValuesStayUniqueAcrossThreads) {
  EnvScope env;
  UnknownCounters counters;
  const int kThreads = 4, kEach = 500;
  std::vector<std::vector<uint32_t>> values(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        values[t].push_back(env->RegisterHandOver(new CCountingUnknown(&counters)));
    });
  for (auto& thread : threads) thread.join();

  std::set<uint32_t> unique;
  for (const auto& list : values) unique.insert(list.begin(), list.end());
  EXPECT_EQ(unique.size(), static_cast<size_t>(kThreads * kEach));
  EXPECT_EQ(unique.count(0), 0u);
  EXPECT_EQ(env->PendingHandOverCount(), static_cast<size_t>(kThreads * kEach));
  for (uint32_t value : unique) env->TakeHandOver(value)->Release();
  EXPECT_EQ(counters.destroyed, kThreads * kEach);
}

}  // namespace
