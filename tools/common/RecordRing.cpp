#include "tools/common/RecordRing.h"

RecordRing::RecordRing(size_t batches, size_t batchSize) : m_batches(batches < 2 ? 2 : batches) {
  for (Batch& batch : m_batches) batch.records.resize(batchSize < 1 ? 1 : batchSize);
}

KeyboardItemInfo* RecordRing::Slot() {
  if (!m_bWriting) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_emptied.wait(lock, [this] { return m_bStopped || m_nFull < m_batches.size(); });
    if (m_bStopped) return nullptr;
    m_bWriting = true;
    m_nWritten = 0;
  }
  return &m_batches[m_nWrite].records[m_nWritten];
}

void RecordRing::Commit() {
  if (!m_bWriting) return;
  if (++m_nWritten == m_batches[m_nWrite].records.size()) Publish();
}

void RecordRing::Publish() {
  m_batches[m_nWrite].count = m_nWritten;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_nFull;
  }
  m_filled.notify_one();
  m_nWrite = (m_nWrite + 1) % m_batches.size();
  m_bWriting = false;
}

void RecordRing::Close() {
  if (m_bWriting && m_nWritten > 0) Publish();
  m_bWriting = false;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bClosed = true;
  }
  m_filled.notify_one();
}

KeyboardItemInfo* RecordRing::Next() {
  for (;;) {
    if (m_bReading) {
      Batch& batch = m_batches[m_nRead];
      if (m_nReadAt < batch.count) return &batch.records[m_nReadAt++];
      // The batch is read: its buffer goes back to the producer.
      {
        std::lock_guard<std::mutex> lock(m_lock);
        --m_nFull;
      }
      m_emptied.notify_one();
      m_nRead = (m_nRead + 1) % m_batches.size();
      m_bReading = false;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    m_filled.wait(lock, [this] { return m_nFull > 0 || m_bClosed; });
    if (m_nFull == 0) return nullptr;
    m_bReading = true;
    m_nReadAt = 0;
  }
}

void RecordRing::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bStopped = true;
  }
  m_emptied.notify_one();
}
