# The public headers in HKM_PUBLIC_INCLUDE_DIR/HotKeyManager (build/<tree>/include/HotKeyManager),
# as a terminal includes them from an installed copy: HotKeyManager.h (the component's interface, portable) and, on Windows, TerminalHost.h
# (the host kit), with every header they reach. Staged on every build (cmake/
# StagePublicHeaders.cmake writes only what changed); the install copies this folder.
set(HKM_PUBLIC_ENTRIES "frame/HotKeyManagerApi.h=HotKeyManager.h")
if(WIN32)
  list(APPEND HKM_PUBLIC_ENTRIES "services/TerminalHost.h=TerminalHost.h")
endif()
add_custom_target(hkm_public_headers ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DOUTPUT_DIR=${HKM_PUBLIC_INCLUDE_DIR}/HotKeyManager "-DENTRIES=${HKM_PUBLIC_ENTRIES}"
          -P ${PROJECT_SOURCE_DIR}/cmake/StagePublicHeaders.cmake
  VERBATIM)

# Programs of the tree may include <HotKeyManager/...> as a terminal does.
foreach(target IN ITEMS HotKeyManagerFactory terminal_services)
  if(TARGET ${target})
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${HKM_PUBLIC_INCLUDE_DIR}>)
    add_dependencies(${target} hkm_public_headers)
  endif()
endforeach()

if(HKM_BUILD_TESTS)
  add_subdirectory(tests/headers)
endif()
