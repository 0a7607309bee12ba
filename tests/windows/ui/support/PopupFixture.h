// The pop-up inside a test terminal, for the tests that drive it end to end: a manager from
// GetClassObject with three named securities and thirty synthetic ones (6011xx, hot key SYNT),
// the terminal's view forwarding to it, and the dialog found as the thread's one window made from
// the component's template.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestTerminal.h"
#include "WindowPeers.h"
#include "frame/FrameLib.h"
#include "frame/IHotKeyManager.h"
#include "window/SmartKeyboardDlg.h"

KeyboardItemInfo PopupSecurity(const wchar_t* code, const wchar_t* hotKey, const wchar_t* name,
                               unsigned short type, unsigned char market, int extra);

// A frame element of the terminal that records the element events sent to it.
class RecordingContainer : public CElementContainer {
 public:
  uint32_t GetID() override { return 77; }
  int SendMessageW(uint32_t id, UINT message, WPARAM, LPARAM) override {
    m_calls.push_back({id, message});
    return 1;
  }
  std::vector<std::pair<uint32_t, UINT>> m_calls;
};

class PopupTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CSmartKeyboardDlg* Dialog() const;
  SmartKeyboardDlgTestPeer Peer() const { return SmartKeyboardDlgTestPeer(*Dialog()); }
  bool PopupVisible() const;
  // Typed in the terminal: each key reaches the view, which forwards it through slot 9.
  void TypeForwarded(const wchar_t* text) { m_terminal->Type(text); }
  // A key typed into the focused pop-up: straight to the edit, as the message loop delivers it.
  void KeyIntoEdit(UINT vk);
  // Codes of the rows the list holds, and of what the interface's search finds.
  std::vector<std::wstring> ListedCodes() const;
  std::vector<std::wstring> SearchedCodes(const wchar_t* text);
  RECT PopupRect() const;

  std::unique_ptr<TestTerminal> m_terminal;
  IHotKeyManager* m_manager = nullptr;
};
