# The core tests built for Windows and run under Wine: GoogleTest from Debian's sources, one
# CTest test per test program (Wine starts once per program, not once per case).
set(CARD_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${CARD_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CARD_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/windows/wine_run.sh)
# Wine sees the Linux file system as drive Z:. The program folder is the main build's, which
# holds the laid-out players (standalone: this build's own).
set(win_source "Z:${PROJECT_SOURCE_DIR}")
if(NOT CARD_HOST_PROGRAM_DIR)
  set(CARD_HOST_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)
endif()

# Tests whose subject is the Linux stand-in itself (case-insensitive lookup on a case-sensitive
# file system, fontconfig aliases, the registry file, dlopen fixtures, POSIX permissions), that
# start Linux programs, or that write GIF files (the players only read them, so the Windows
# build has no GIF writer): they do not apply to the system's own functions.
set(card_linux_only_tests
  "Paths.*:HostPaths.*:Fonts.*:FontAliases.*:Registry.*:Dynlib.*:Shell.*:Profile*Cache*:*ReadOnly*:CardStage.GifFramesFollowTheirDelays")

function(card_windows_tests name)
  cmake_parse_arguments(A "" "" "DIRS;LIBS" ${ARGN})
  set(srcs)
  foreach(d IN LISTS A_DIRS)
    file(GLOB s CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${d}/*_test.cpp)
    list(APPEND srcs ${s})
  endforeach()
  add_executable(${name} ${srcs} ${PROJECT_SOURCE_DIR}/tests/support/temp_dir.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/test_environment.cpp)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${A_LIBS} gtest gmock gtest_main)
  target_compile_definitions(${name} PRIVATE
    CARD_TEST_DATA_DIR="${win_source}/tests/data"
    CARD_PROGRAM_DIR="Z:${CARD_HOST_PROGRAM_DIR}"
    CARD_SOURCE_DIR="${win_source}"
    CARD_TEST_CONFIG_HOME="Z:${CMAKE_BINARY_DIR}/test-config")
  add_test(NAME windows_${name} COMMAND ${name} --gtest_brief=1 "--gtest_filter=-${card_linux_only_tests}")
  set_tests_properties(windows_${name} PROPERTIES TIMEOUT 900 ENVIRONMENT "CARD_WINE_PREFIX=${CARD_WINE_PREFIX}"
    FIXTURES_REQUIRED wine_prefix)
endfunction()

# The first Wine start makes the prefix (a minute or so); every test waits for it.
add_test(NAME windows_wine_prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd /c exit 0)
set_tests_properties(windows_wine_prefix PROPERTIES TIMEOUT 600 FIXTURES_SETUP wine_prefix
  ENVIRONMENT "CARD_WINE_PREFIX=${CARD_WINE_PREFIX}")

card_windows_tests(transitions_tests DIRS maker/transitions LIBS card_transitions)
card_windows_tests(packaging_tests DIRS maker/packaging LIBS card_packaging)
card_windows_tests(player_tests DIRS player LIBS card_player)
card_windows_tests(stage_tests DIRS player/stage LIBS card_stage)
