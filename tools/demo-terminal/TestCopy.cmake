# The demo terminal's tests run a copy of it in a program folder of their own, so that what they
# pick is kept in that copy's history, never in the history of the copy a user runs.
#
#   cmake -DMODE=copy -DUSER_FOLDER=<the user's copy> -DTEST_FOLDER=<the tests'> -P TestCopy.cmake
#       a fresh copy of the program, its DLLs and its skins (no history), and a note of the
#       user's history as it is now
#   cmake -DMODE=check -DUSER_FOLDER=... -DTEST_FOLDER=... -P TestCopy.cmake
#       fails when the user's history changed since the copy was made, or when the tests' picks
#       are not in the history of their own folder
cmake_minimum_required(VERSION 3.25)
set(history Data/RecentKeyBoard_Stock.dat)
set(note ${TEST_FOLDER}-user-history.txt)

function(history_state folder out)
  if(EXISTS "${folder}/${history}")
    file(SHA256 "${folder}/${history}" state)
  else()
    set(state "none")
  endif()
  set(${out} "${state}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "copy")
  file(REMOVE_RECURSE "${TEST_FOLDER}")
  file(GLOB files "${USER_FOLDER}/*.exe" "${USER_FOLDER}/*.dll")
  if(NOT files)
    message(FATAL_ERROR "no demo terminal in ${USER_FOLDER}: build the target demo-terminal")
  endif()
  file(COPY ${files} "${USER_FOLDER}/skins" DESTINATION "${TEST_FOLDER}")
  history_state("${USER_FOLDER}" state)
  file(WRITE "${note}" "${state}")
elseif(MODE STREQUAL "check")
  file(READ "${note}" before)
  history_state("${USER_FOLDER}" after)
  if(NOT after STREQUAL before)
    message(FATAL_ERROR "the history of the user's demo terminal (${USER_FOLDER}/${history}) "
                        "changed while the tests ran: a test picked in the user's folder")
  endif()
  history_state("${TEST_FOLDER}" own)
  if(own STREQUAL "none")
    message(FATAL_ERROR "the tests' picks are not in ${TEST_FOLDER}/${history}")
  endif()
else()
  message(FATAL_ERROR "MODE must be copy or check")
endif()
