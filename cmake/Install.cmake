# The kit a terminal developer installs (cmake --install build/windows --prefix DIR) or unzips
# (cpack -G ZIP in the Windows tree: HotKeyManager-<version>-win64.zip):
#
#   bin/                      HotKeyManagerFactory.dll, TerminalServices.dll, WindowFramework.dll,
#                             the demo terminal and the command-line tools
#   lib/                      the three import libraries
#   lib/cmake/HotKeyManager/  the CMake package: find_package(HotKeyManager 1.0 CONFIG REQUIRED)
#   include/HotKeyManager/    HotKeyManager.h, TerminalHost.h and what they include
#   share/HotKeyManager/      skins/, items.tsv, embedding.md, examples/minimal-host/
include(CMakePackageConfigHelpers)

set(HKM_INSTALL_PACKAGE_DIR lib/cmake/HotKeyManager)
set(HKM_INSTALL_DATA_DIR share/HotKeyManager)

# The DLLs with their import libraries: the component is also loaded with LoadLibrary, and the
# window framework comes along because both DLLs need it at run time.
install(TARGETS HotKeyManagerFactory terminal_services wfc
  RUNTIME DESTINATION bin
  ARCHIVE DESTINATION lib)
foreach(program IN ITEMS demo-terminal hotkey-search smart-keyboard skin-preview)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endif()
endforeach()
# The demo terminal reads its skins from beside itself.
if(TARGET demo-terminal)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/skins DESTINATION bin)
endif()
install(DIRECTORY ${HKM_PUBLIC_INCLUDE_DIR}/HotKeyManager DESTINATION include)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/skins DESTINATION ${HKM_INSTALL_DATA_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/items.tsv ${PROJECT_SOURCE_DIR}/docs/embedding.md
  DESTINATION ${HKM_INSTALL_DATA_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/minimal-host
  DESTINATION ${HKM_INSTALL_DATA_DIR}/examples)

# The package: imported targets made by hand from the installed files, so that the package knows
# nothing of the tree's own targets.
set(HKM_COMPONENT_IMPLIB
    ${CMAKE_IMPORT_LIBRARY_PREFIX}HotKeyManagerFactory${CMAKE_IMPORT_LIBRARY_SUFFIX})
set(HKM_SERVICES_IMPLIB
    ${CMAKE_IMPORT_LIBRARY_PREFIX}TerminalServices${CMAKE_IMPORT_LIBRARY_SUFFIX})
set(HKM_FRAMEWORK_IMPLIB
    ${CMAKE_IMPORT_LIBRARY_PREFIX}WindowFramework${CMAKE_IMPORT_LIBRARY_SUFFIX})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/HotKeyManagerConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/HotKeyManagerConfig.cmake
  INSTALL_DESTINATION ${HKM_INSTALL_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/HotKeyManagerConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_BINARY_DIR}/package/HotKeyManagerConfig.cmake
  ${CMAKE_BINARY_DIR}/package/HotKeyManagerConfigVersion.cmake
  DESTINATION ${HKM_INSTALL_PACKAGE_DIR})

set(CPACK_PACKAGE_NAME HotKeyManager)
set(CPACK_PACKAGE_VENDOR HotKeyManager)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "The smart keyboard of a securities terminal, with a host kit")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_VERBATIM_VARIABLES YES)
include(CPack)
