// Records handed from one thread to another: a producer fills them (an items file parsed, the
// aliases made) while a consumer takes them in the same order (the store filled), so that a load
// keeps two cores busy without a copy of the file's records. The records go in batches through a
// few buffers reused in turn, so the threads meet once per batch, not once per record: batches of
// 512 took 300k items with a third of the thread switches that batches of 128 took, and on a
// loaded machine every switch is dear. Four of them (750 KB) are as fast as eight and cost a 30k
// item file 0.6 MB less at its peak.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "frame/KeyboardItemInfo.h"

class RecordRing {
 public:
  explicit RecordRing(size_t batches = 4, size_t batchSize = 512);
  RecordRing(const RecordRing&) = delete;
  RecordRing& operator=(const RecordRing&) = delete;

  // --- The producing thread. ---
  // The record to fill next (as the last user of that buffer left it), or null once the
  // consumer has stopped.
  KeyboardItemInfo* Slot();
  // The record Slot() gave is filled and goes to the consumer, with its batch.
  void Commit();
  // No more records: the committed ones go to the consumer, whose Next() then ends.
  void Close();

  // --- The consuming thread. ---
  // The next record, or null after the last one. It stays valid until the next call.
  KeyboardItemInfo* Next();
  // Takes no more records: the producer's Slot() returns null from now on.
  void Stop();

 private:
  struct Batch {
    std::vector<KeyboardItemInfo> records;
    size_t count = 0;  // filled
  };
  void Publish();

  std::vector<Batch> m_batches;
  std::mutex m_lock;
  std::condition_variable m_filled, m_emptied;
  // Under m_lock: batches published and not yet released by the consumer, oldest first from
  // m_nRead; the producer's end; the consumer's end.
  size_t m_nFull = 0;
  bool m_bClosed = false, m_bStopped = false;
  // The producer's own: the batch it fills and how far.
  size_t m_nWrite = 0, m_nWritten = 0;
  bool m_bWriting = false;
  // The consumer's own: the batch it reads and how far.
  size_t m_nRead = 0, m_nReadAt = 0;
  bool m_bReading = false;
};
