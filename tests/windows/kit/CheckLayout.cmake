# Checks an installed kit and the zip cpack makes of the same tree:
#
#   cmake -DINSTALLED=<prefix> -DBINARY_DIR=<tree> -DCPACK=<cpack> -DWORK_DIR=<scratch>
#         -DPACKAGE=<HotKeyManager-x.y.z-win64> -P CheckLayout.cmake
cmake_minimum_required(VERSION 3.25)

set(expected
  bin/HotKeyManagerFactory.dll
  bin/TerminalServices.dll
  bin/WindowFramework.dll
  bin/demo-terminal.exe
  bin/hotkey-search.exe
  bin/smart-keyboard.exe
  bin/skins/light/skin.txt
  lib/libHotKeyManagerFactory.dll.a
  lib/libTerminalServices.dll.a
  lib/libWindowFramework.dll.a
  lib/cmake/HotKeyManager/HotKeyManagerConfig.cmake
  lib/cmake/HotKeyManager/HotKeyManagerConfigVersion.cmake
  include/HotKeyManager/HotKeyManager.h
  include/HotKeyManager/TerminalHost.h
  include/HotKeyManager/frame/KeyboardItemInfo.h
  include/HotKeyManager/platform/WinTypes.h
  include/HotKeyManager/services/Pinyin.h
  share/HotKeyManager/embedding.md
  share/HotKeyManager/items.tsv
  share/HotKeyManager/skins/light/skin.txt
  share/HotKeyManager/skins/dark/logo.bmp
  share/HotKeyManager/examples/minimal-host/main.cpp
  share/HotKeyManager/examples/minimal-host/CMakeLists.txt
)

set(failures "")
foreach(file IN LISTS expected)
  if(NOT EXISTS "${INSTALLED}/${file}")
    list(APPEND failures "not installed: ${file}")
  endif()
endforeach()
# Only the public headers: nothing of the component's inside.
file(GLOB_RECURSE headers RELATIVE "${INSTALLED}/include" "${INSTALLED}/include/*")
foreach(header IN LISTS headers)
  if(header MATCHES "(table|window|wfc)/")
    list(APPEND failures "installed a private header: ${header}")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND ${CPACK} -G ZIP --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK_DIR}/${PACKAGE}.zip")
  message(FATAL_ERROR "cpack made no ${PACKAGE}.zip (${status}): ${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${WORK_DIR}/${PACKAGE}.zip"
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
string(REPLACE "\n" ";" listing "${listing}")
foreach(file IN LISTS expected)
  if(NOT "${PACKAGE}/${file}" IN_LIST listing)
    list(APPEND failures "not in the zip: ${PACKAGE}/${file}")
  endif()
endforeach()

if(failures)
  string(REPLACE ";" "\n  " failures "${failures}")
  message(FATAL_ERROR "The kit is not complete:\n  ${failures}")
endif()
message(STATUS "${INSTALLED} and ${PACKAGE}.zip hold the kit")
