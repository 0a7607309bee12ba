// The window tests' program: the component's windows take their resources from this module.
#include <gtest/gtest.h>

#include "platform/WinTypes.h"
#include "window/App.h"

HINSTANCE ComponentModule() { return GetModuleHandleW(nullptr); }

int main(int argc, char** argv) {
  RegisterWindowPopup();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
