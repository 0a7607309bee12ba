// Message maps: each window class lists the messages it handles and nothing else; a message not
// listed by the class or one of its bases goes to the window's default procedure.
#pragma once

#include <windows.h>

class CWnd;

// Every handler takes the message's raw parameters and returns its result.
typedef LRESULT (CWnd::*WFC_MSG_HANDLER)(WPARAM, LPARAM);

struct WFC_MSGMAP_ENTRY {
  UINT nMessage;
  WFC_MSG_HANDLER pfnHandler;  // null ends the table
};

struct WFC_MSGMAP {
  const WFC_MSGMAP* (*pfnGetBaseMap)();
  const WFC_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const WFC_MSGMAP* GetThisMessageMap(); \
  const WFC_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const WFC_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const WFC_MSGMAP* theClass::GetThisMessageMap() {                                 \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const WFC_MSGMAP_ENTRY entries[] = {
#define ON_MESSAGE(message, memberFn) {message, static_cast<WFC_MSG_HANDLER>(&ThisClass::memberFn)},

#define END_MESSAGE_MAP()                                                    \
  { 0, nullptr }                                                             \
  }                                                                          \
  ;                                                                          \
  static const WFC_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                               \
  }
