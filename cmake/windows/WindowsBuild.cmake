# The Windows build: the platform units over the real Windows interfaces, the core libraries the
# card players need, the three players as static, stripped programs, and the core tests that run
# under Wine. Included by the top-level CMakeLists.txt when it is configured for Windows.
set(CMAKE_CXX_FLAGS_RELEASE "-Os")
set(CMAKE_C_FLAGS_RELEASE "-Os")
add_compile_options(-ffunction-sections -fdata-sections)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0601
  # Every POSIX open() of the core asks for O_CLOEXEC: here that means no handle inheritance and
  # binary files (the C runtime's default text mode would translate line ends).
  "O_CLOEXEC=(_O_NOINHERIT|_O_BINARY)" _USE_MATH_DEFINES _POSIX_THREAD_SAFE_FUNCTIONS)
# One file per program, no DLL beyond those Windows ships.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
find_package(Threads REQUIRED)

include(cmake/CardTargets.cmake)

# --- platform: a Windows unit in platform/win32/ replaces the Linux unit of the same name ----
file(GLOB card_linux_units CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/*.cpp)
file(GLOB card_win32_units CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/win32/*.cpp)
# Linux units with no place in the players: PNG and GIF writing (tools), sockets (mail).
set(card_not_on_windows png_writer.cpp gif_writer.cpp net.cpp)
set(card_platform_srcs ${card_win32_units})
foreach(u IN LISTS card_linux_units)
  get_filename_component(n ${u} NAME)
  if(NOT n IN_LIST card_not_on_windows AND NOT EXISTS ${PROJECT_SOURCE_DIR}/src/platform/win32/${n})
    list(APPEND card_platform_srcs ${u})
  endif()
endforeach()
add_library(card_platform STATIC ${card_platform_srcs})
target_include_directories(card_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(card_platform PUBLIC
  gdiplus windowscodecs ole32 oleaut32 uuid winmm shlwapi shell32 user32 gdi32 advapi32 comdlg32
  Threads::Threads)

# --- the core libraries, compiled unchanged -------------------------------------------------
card_library(card_transitions DIRS maker/transitions DEPS card_platform)
card_library(card_audio       DIRS audio             DEPS card_platform)
card_library(card_document    DIRS maker/document    DEPS card_platform)
card_library(card_packaging   DIRS maker/packaging   DEPS card_document card_platform)
card_library(card_ordinary    DIRS maker/ordinary    DEPS card_packaging card_transitions card_audio card_platform)
card_library(card_player      DIRS player            DEPS card_packaging card_ordinary card_transitions card_audio card_platform)

set(CARD_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CARD_PROGRAM_DIR})
include(cmake/windows/WindowsPlayers.cmake)

option(CARD_BUILD_TESTS "Build the core tests" ON)
if(CARD_BUILD_TESTS)
  enable_testing()
  include(cmake/windows/WindowsTests.cmake)
endif()
