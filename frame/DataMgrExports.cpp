// Members of the data centre's classes that the terminal expects to find in the component.
#include <cstring>

#include "DataMgr.h"

void CDataMgr::SetSelfStk(CArray<_ZIDING_STOCK_LIST_*>* /*list*/) {}

void CDataMgr::GetOldSerMarkets(std::vector<MARKET_INFO>& /*markets*/) {}

bool CDataMgr::AddOneSeltStk(char* /*code*/, int /*market*/) { return false; }

Request::Request()
    : m_nField1(0), m_nField2(0), m_block1(), m_nField3(0), m_nField4(0), m_block2(), m_block3() {}

// The base part is copied by CUnknown: a fresh count and a copy of the name, never the string.
Request::Request(const Request& other)
    : CUnknown(other),
      m_nField1(other.m_nField1),
      m_nField2(other.m_nField2),
      m_nField3(other.m_nField3),
      m_nField4(other.m_nField4) {
  memcpy(m_block1, other.m_block1, sizeof(m_block1));
  memcpy(m_block2, other.m_block2, sizeof(m_block2));
  memcpy(m_block3, other.m_block3, sizeof(m_block3));
}

// The reference count stays this object's own; the name is copied, not shared.
Request& Request::operator=(const Request& other) {
  if (this == &other) return *this;
  CUnknown::operator=(other);
  m_nField1 = other.m_nField1;
  m_nField2 = other.m_nField2;
  memcpy(m_block1, other.m_block1, sizeof(m_block1));
  m_nField3 = other.m_nField3;
  m_nField4 = other.m_nField4;
  memcpy(m_block2, other.m_block2, sizeof(m_block2));
  memcpy(m_block3, other.m_block3, sizeof(m_block3));
  return *this;
}

Request::~Request() {}
