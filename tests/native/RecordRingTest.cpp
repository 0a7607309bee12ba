// Records handed from a producing thread to a consuming one in batches: every record arrives once
// and in order whatever the batch boundaries, and either side can end the hand-over.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "tools/common/RecordRing.h"

namespace {

TEST(RecordRing, HandsEveryRecordOverInOrderAndEitherSideEndsIt) {
  // Three batches of four: nothing, part of a batch, whole batches, a ring filled many times.
  for (size_t total : {0u, 1u, 3u, 4u, 5u, 12u, 13u, 1000u}) {
    RecordRing ring(3, 4);
    std::thread producer([&ring, total] {
      for (size_t i = 0; i < total; ++i) {
        KeyboardItemInfo* slot = ring.Slot();
        if (!slot) break;
        slot->m_nExtraInfo = static_cast<int>(i);
        swprintf(slot->m_szCode, 17, L"%zu", i);
        ring.Commit();
      }
      ring.Close();
    });
    std::vector<int> seen;
    size_t wrongCodes = 0;
    while (const KeyboardItemInfo* record = ring.Next()) {
      if (std::to_wstring(seen.size()) != record->m_szCode) ++wrongCodes;
      seen.push_back(record->m_nExtraInfo);
    }
    producer.join();
    std::vector<int> expected;
    for (size_t i = 0; i < total; ++i) expected.push_back(static_cast<int>(i));
    EXPECT_EQ(seen, expected) << total << " records";
    EXPECT_EQ(wrongCodes, 0u) << total << " records";
    EXPECT_EQ(ring.Next(), nullptr);  // and it stays ended
  }

  // A consumer that stops after one record: the producer, which would go on for ever, gets no
  // more room once the batch it fills is full, and ends.
  RecordRing ring(2, 2);
  size_t produced = 0;
  std::thread producer([&ring, &produced] {
    while (KeyboardItemInfo* slot = ring.Slot()) {
      slot->m_nExtraInfo = static_cast<int>(produced++);
      ring.Commit();
    }
    ring.Close();
  });
  const KeyboardItemInfo* first = ring.Next();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->m_nExtraInfo, 0);
  ring.Stop();
  producer.join();
  // The batch read and at most the one other buffer.
  EXPECT_GE(produced, 2u);
  EXPECT_LE(produced, 4u);
}

}  // namespace
