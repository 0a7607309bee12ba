// The store's record array, allocated and freed apart from the records' own new[] so that its
// pages can be given to the system's large pages before the records are first written.
#pragma once

#include "frame/KeyboardItemInfo.h"

// `count` default records; null when the memory cannot be had.
KeyboardItemInfo* NewRecordArray(int count);
// Releases what the records hold and frees an array of NewRecordArray's, of the same count.
void DeleteRecordArray(KeyboardItemInfo* records, int count);
