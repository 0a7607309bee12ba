// The table's life cycle: storage, lock and teardown.
#include "table/MappingTable.h"

#include <cstring>
#include <new>

#include "platform/Platform.h"
#include "table/RecordArray.h"

KeyboardInputMappingTable::KeyboardInputMappingTable()
    : m_pItems(nullptr),
      m_pSlots(nullptr),
      m_nItemCount(0),
      m_nSlotCount(0),
      m_nCapacity(0),
      m_pHitFlags(nullptr),
      m_hLock(nullptr),
      m_nOpenMode(OPEN_MODE_TYPED),
      m_pTargetContainer(nullptr),
      m_hTargetWnd(nullptr),
      m_nPlacement(PLACEMENT_NONE),
      m_bUseKeyPrefixes(true),
      m_nRoom(0),
      m_pSearchText(nullptr) {
  AllocateStorage();
  // Created taken, then released once: the table starts unlocked. Without an event every later
  // wait fails and the interface refuses the operation.
  m_hLock = plat::CreateLockEvent();
  if (m_hLock) plat::SetLockEvent(m_hLock);
}

KeyboardInputMappingTable::~KeyboardInputMappingTable() {
  ClearSource();
  if (m_hLock) plat::CloseLockEvent(m_hLock);
  m_hLock = nullptr;
}

bool KeyboardInputMappingTable::AllocateStorage() {
  if (!m_pItems) {
    m_pItems = NewRecordArray(INITIAL_ROOM);
    if (!m_pItems) return false;
    m_nRoom = INITIAL_ROOM;
  }
  m_nCapacity = INITIAL_CAPACITY;
  m_pSlots = new (std::nothrow) KeySlot[3 * m_nRoom];
  if (!m_pSlots) return false;
  for (int i = 0; i < 3 * m_nRoom; ++i) m_pSlots[i] = KeySlot{-1, 255};
  m_pHitFlags = new (std::nothrow) unsigned char[m_nRoom];
  if (!m_pHitFlags) return false;
  memset(m_pHitFlags, 0, m_nRoom);
  return true;
}

bool KeyboardInputMappingTable::Lock() { return plat::WaitLockEvent(m_hLock); }

void KeyboardInputMappingTable::Unlock() { plat::SetLockEvent(m_hLock); }
