// The host environment: the hand-over registry that carries objects to the receivers of a chosen
// item, and the environment swapped under concurrent readers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "services/TerminalEnv.h"
#include "support/CountingUnknown.h"
#include "support/EnvScope.h"

namespace {

TEST(TerminalEnv, HandOverRegistry) {
  UnknownCounters counters, kept, forgotten, wraps;
  IUnknown* taken;
  {
    EnvScope env;
    CCountingUnknown* object = new CCountingUnknown(&counters);  // count 0, as packages start
    const uint32_t first = env->RegisterHandOver(object), second = env->RegisterHandOver(object);
    EXPECT_TRUE(first != 0 && second != 0 && first != second &&
                env->RegisterHandOver(nullptr) == 0);
    EXPECT_TRUE(object->RefCount() == 2 && env->PendingHandOverCount() == 2u);
    EXPECT_EQ(env->TakeHandOver(first), object);
    EXPECT_EQ(object->RefCount(), 2);  // the registry's reference now belongs to the receiver
    EXPECT_TRUE(env->TakeHandOver(first) == nullptr && env->TakeHandOver(0) == nullptr);
    object->Release();
    env->ReleaseHandOvers();  // the second value's reference
    EXPECT_EQ(counters.destroyed, 1);
    EXPECT_EQ(env->TakeHandOver(second), nullptr);
    // Past the counter's wrap, 0 and values still waiting are never handed out.
    CCountingUnknown* wrapped = new CCountingUnknown(&wraps);
    const uint32_t waiting = env->RegisterHandOver(wrapped);
    env->SetNextHandOver(0xFFFFFFFFu);
    EXPECT_EQ(env->RegisterHandOver(wrapped), 0xFFFFFFFFu);
    env->SetNextHandOver(waiting);
    EXPECT_EQ(env->RegisterHandOver(wrapped), waiting + 1);
    env->SetNextHandOver(0xFFFFFFFFu);
    EXPECT_EQ(env->RegisterHandOver(wrapped), first);  // taken back, so free again
    env->ReleaseHandOvers();
    EXPECT_EQ(wraps.destroyed, 1);
    // Objects never taken back go with the environment.
    taken = env->TakeHandOver(env->RegisterHandOver(new CCountingUnknown(&kept)));
    env->RegisterHandOver(new CCountingUnknown(&forgotten));
  }
  EXPECT_TRUE(forgotten.destroyed == 1 && kept.destroyed == 0);
  taken->Release();
  EXPECT_EQ(kept.destroyed, 1);
}

// Readers take the environment, its palette and the registry while the host swaps environments;
// the last reference of each goes with everything it held, every object registered included.
TEST(TerminalEnv, ConcurrentReadersWhileTheHostSwapsEnvironments) {
  UnknownCounters paletteA, paletteB, registered;
  TRefPtr<CTerminalEnv> envA(new CTerminalEnv), envB(new CTerminalEnv);
  envA->SetPalette(new CCountingUnknown(&paletteA));
  envB->SetPalette(new CCountingUnknown(&paletteB));
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t)
    readers.emplace_back([&] {
      while (!stop.load() || reads.load() < 300) {
        TRefPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
        if (!env) continue;
        if (env->GetPalette() == nullptr) ADD_FAILURE() << "palette lost";
        if (env->RegisterHandOver(new CCountingUnknown(&registered)) == 0) ADD_FAILURE();
        ++reads;
      }
    });
  for (int i = 0; i < 2000; ++i) CGlobalEnv::SetGlobalEnv(i % 2 ? envA.get() : envB.get());
  stop = true;
  for (auto& reader : readers) reader.join();
  CGlobalEnv::SetGlobalEnv(nullptr);
  EXPECT_TRUE(envA->RefCount() == 1 && envB->RefCount() == 1);
  envA = envB = TRefPtr<CTerminalEnv>();
  EXPECT_EQ(registered.destroyed, reads.load());
  EXPECT_TRUE(paletteA.destroyed == 1 && paletteB.destroyed == 1);
}

}  // namespace
