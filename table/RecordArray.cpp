#include "table/RecordArray.h"

#include <new>

#include "platform/Platform.h"

KeyboardItemInfo* NewRecordArray(int count) {
  if (count < 0) return nullptr;
  const size_t bytes = sizeof(KeyboardItemInfo) * static_cast<size_t>(count);
  void* block = ::operator new[](bytes ? bytes : 1, std::nothrow);
  if (!block) return nullptr;
  // At hundreds of thousands of records the array is a hundred megabytes and more; the default
  // records below are its first touch.
  plat::AdviseLargePages(block, bytes);
  auto* records = static_cast<KeyboardItemInfo*>(block);
  for (int i = 0; i < count; ++i) new (records + i) KeyboardItemInfo();
  return records;
}

void DeleteRecordArray(KeyboardItemInfo* records, int count) {
  if (!records) return;
  // Destroyed last first, as delete[] does.
  for (int i = count; i-- > 0;) records[i].~KeyboardItemInfo();
  ::operator delete[](records);
}
