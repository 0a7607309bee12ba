# Configures and builds an example of an installed kit in a fresh build folder, as a terminal's
# own project is built: with the cross toolchain and CMAKE_PREFIX_PATH at the install.
#   cmake -DSOURCE=<example> -DBUILD=<folder> -DTOOLCHAIN=<file> -DPREFIX=<kit> -P BuildExample.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${BUILD}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
          -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_BUILD_TYPE=Release
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring ${SOURCE} failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building ${SOURCE} failed (${status})")
endif()
