# The Windows players: the same sources cross-built with MinGW-w64 into build/windows (an
# external project configured with cmake/mingw-w64.cmake), then laid out for EXE cards by
# stub_layout into the program folder's "windows" folder with their Option.ini and FORM files.
include(ExternalProject)
option(CARD_BUILD_WINDOWS "Cross-build the Windows card players (MinGW-w64)" ON)
find_program(CARD_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT CARD_BUILD_WINDOWS)
  return()
endif()
if(NOT CARD_MINGW_CXX)
  message(FATAL_ERROR "x86_64-w64-mingw32-g++-posix not found: run scripts/install-deps.sh "
                      "(or configure with -DCARD_BUILD_WINDOWS=OFF)")
endif()

set(CARD_WINDOWS_BUILD ${CMAKE_BINARY_DIR}/windows)
set(win_players)
foreach(n 1 2 3)
  list(APPEND win_players ${CARD_WINDOWS_BUILD}/bin/exe${n}.exe)
endforeach()
ExternalProject_Add(windows_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CARD_WINDOWS_BUILD}
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake
             -DCMAKE_BUILD_TYPE=Release -DCARD_BUILD_TESTS=${CARD_BUILD_TESTS}
             -DCARD_HOST_PROGRAM_DIR=${CARD_PROGRAM_DIR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${win_players}
  USES_TERMINAL_BUILD ON)

set(win_folder ${CARD_PROGRAM_DIR}/windows)
set(win_icon ${PROJECT_SOURCE_DIR}/data/图标/ICON26.ICO)
add_custom_command(OUTPUT ${win_folder}/exe1.exe ${win_folder}/exe2.exe ${win_folder}/exe3.exe
                          ${win_folder}/Option.ini
  COMMAND stub_layout ${win_folder} ${win_icon} ${win_players}
  DEPENDS stub_layout ${win_players} ${win_icon}
  COMMENT "Laying out the Windows players for EXE cards")
add_custom_target(windows_players ALL DEPENDS ${win_folder}/exe1.exe)
add_dependencies(windows_players windows_build)
