# Reads the export and import tables of the Windows modules with objdump -p and checks what the
# terminal relies on: the factory functions under plain names, the exported members of the
# shared records, and no import of a mingw runtime DLL (the runtime is linked statically, and all
# modules allocate through the one system C runtime).
#
#   cmake -DOBJDUMP=... -DCOMPONENT_DLL=... -DSERVICES_DLL=... -DTEST_PROGRAM=... -P CheckDllImage.cmake
cmake_minimum_required(VERSION 3.25)

foreach(var OBJDUMP COMPONENT_DLL SERVICES_DLL TEST_PROGRAM)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(failures 0)
macro(fail text)
  message(SEND_ERROR "${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

# Sets <prefix>_EXPORTS (names), <prefix>_DLLS (imported DLL names, lower case) and
# <prefix>_MALLOC_FROM (lower-case name of the DLL that supplies malloc).
function(read_image file prefix)
  execute_process(COMMAND ${OBJDUMP} -p ${file}
    OUTPUT_VARIABLE dump RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump -p ${file} failed: ${err}")
  endif()
  string(REPLACE ";" "\\;" dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(exports "")
  set(dlls "")
  set(malloc_from "")
  set(section "")
  set(current_dll "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
      set(section exports)
    elseif(line MATCHES "^The Import Tables")
      set(section imports)
    elseif(line MATCHES "^The Export Tables")
      set(section "")
    elseif(line MATCHES "^PE File Base Relocations" OR line MATCHES "^The Function Table")
      set(section "")
    elseif(section STREQUAL "exports" AND line MATCHES "^\t\\[ *[0-9]+\\] (.+)$")
      list(APPEND exports "${CMAKE_MATCH_1}")
    elseif(section STREQUAL "imports" AND line MATCHES "^\tDLL Name: (.+)$")
      string(TOLOWER "${CMAKE_MATCH_1}" current_dll)
      list(APPEND dlls "${current_dll}")
    elseif(section STREQUAL "imports" AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +malloc$")
      set(malloc_from "${current_dll}")
    endif()
  endforeach()
  set(${prefix}_EXPORTS "${exports}" PARENT_SCOPE)
  set(${prefix}_DLLS "${dlls}" PARENT_SCOPE)
  set(${prefix}_MALLOC_FROM "${malloc_from}" PARENT_SCOPE)
endfunction()

read_image(${COMPONENT_DLL} COMPONENT)
read_image(${SERVICES_DLL} SERVICES)
read_image(${TEST_PROGRAM} PROGRAM)

# Plain names of the factory functions, and the exported members of the shared records.
set(required_exports
  GetClassObject
  Init
  Release
  _ZN16KeyboardItemInfoC1Ev
  _ZN16KeyboardItemInfoC1EPKwS1_S1_RKiS3_P8IUnknownRKm20KEYBOARD_SELECT_TYPE
  _ZN16KeyboardItemInfoC1ERKS_
  _ZN16KeyboardItemInfoD1Ev
  _ZN16KeyboardItemInfoaSERKS_
  _ZNK16KeyboardItemInfoeqERKS_
  _ZN16KeyboardItemInfo21CopyRemoveIUnknownPtrERKS_
  _ZN16KeyboardItemInfo21MAX_STOCK_NAME_LENGTHE
  _ZN16KeyboardItemInfo23MAX_STOCK_DESCRI_LENGTHE
  _ZN16KeyboardItemInfo23MAX_STOCK_HOTKEY_LENGTHE
  _ZN16KeyboardItemInfo24INVALID_EXTRA_INFO_VALUEE
  _ZN11CDataComFun8IsQiQuanEh
  _ZN11CDataComFun10IsUSAStockEh
  _ZN11CDataComFun9IsUKStockEh
  _ZN11CDataComFun11IsZeroValueEd
  _ZN11CDataComFun10IsPositiveEd
  _ZN11CDataComFun10IsNegativeEd
  _ZN11CDataComFun12CalcZhangDieEffi
  _ZN11CDataComFun12CalcZhangDieEddi
  _ZN11CDataComFunaSERKS_
  _ZN8CDataMgr10SetSelfStkEP6CArrayIP19_ZIDING_STOCK_LIST_E
  _ZN8CDataMgr16GetOldSerMarketsERSt6vectorI11MARKET_INFOSaIS1_EE
  _ZN8CDataMgr13AddOneSeltStkEPci
  _ZN7RequestC1ERKS_
  _ZN7RequestaSERKS_
  _ZTV7Request
)
foreach(name IN LISTS required_exports)
  if(NOT name IN_LIST COMPONENT_EXPORTS)
    fail("HotKeyManagerFactory.dll does not export ${name}")
  endif()
endforeach()
foreach(name IN ITEMS GetClassObject Init Release)
  foreach(export IN LISTS COMPONENT_EXPORTS)
    if(NOT export STREQUAL name AND export MATCHES "${name}" AND NOT export MATCHES "^_Z")
      fail("HotKeyManagerFactory.dll exports a decorated ${name}: ${export}")
    endif()
  endforeach()
endforeach()

# The terminal services' C functions for hosts, under their plain names.
foreach(name IN ITEMS ComputePinyinKeys ComputePinyinInitials)
  if(NOT name IN_LIST SERVICES_EXPORTS)
    fail("TerminalServices.dll does not export ${name}")
  endif()
endforeach()

# The component may import system DLLs, the terminal services and the window framework, nothing
# else.
set(system_dlls
  kernel32.dll msvcrt.dll user32.dll gdi32.dll imm32.dll shlwapi.dll comctl32.dll
  advapi32.dll ole32.dll oleaut32.dll oleacc.dll shell32.dll version.dll
)
foreach(dll IN LISTS COMPONENT_DLLS)
  if(NOT dll IN_LIST system_dlls AND NOT dll STREQUAL "terminalservices.dll"
     AND NOT dll STREQUAL "windowframework.dll")
    fail("HotKeyManagerFactory.dll imports ${dll}")
  endif()
endforeach()

# The terminal services draw (palette, canvas, scrollbar window): they need GDI and the one window
# framework of the process, and nothing but system DLLs besides.
foreach(dll IN ITEMS gdi32.dll windowframework.dll)
  if(NOT dll IN_LIST SERVICES_DLLS)
    fail("TerminalServices.dll does not import ${dll}")
  endif()
endforeach()
foreach(dll IN LISTS SERVICES_DLLS)
  if(NOT dll IN_LIST system_dlls AND NOT dll STREQUAL "windowframework.dll")
    fail("TerminalServices.dll imports ${dll}")
  endif()
endforeach()

# No module may need a runtime DLL of the cross compiler, and each one must allocate through
# msvcrt.dll so that memory freed by another module goes back to the same heap.
foreach(module IN ITEMS COMPONENT SERVICES PROGRAM)
  foreach(dll IN LISTS ${module}_DLLS)
    if(dll MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread)")
      fail("${module} imports the runtime DLL ${dll}")
    endif()
  endforeach()
  if(NOT ${module}_MALLOC_FROM STREQUAL "msvcrt.dll")
    fail("${module} takes malloc from '${${module}_MALLOC_FROM}', not msvcrt.dll")
  endif()
endforeach()

list(LENGTH COMPONENT_EXPORTS export_count)
message(STATUS "HotKeyManagerFactory.dll: ${export_count} exports; imports: ${COMPONENT_DLLS}")
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} check(s) failed")
endif()
