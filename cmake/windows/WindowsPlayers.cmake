# The three Windows players: static, stripped GUI programs over the card stage and the Win32
# host. Their icon (the program folder's stock card icon) is the resource that an EXE card's
# icon patch rewrites; stub_layout (Linux build) moves it to the end of each program.
card_library(card_stage DIRS player/stage DEPS card_player card_ordinary card_transitions card_platform)
add_library(card_win32_host STATIC
  ${PROJECT_SOURCE_DIR}/src/player/win32_host/host_window.cpp
  ${PROJECT_SOURCE_DIR}/src/player/win32_host/player_args.cpp
  ${PROJECT_SOURCE_DIR}/src/player/win32_host/flash_page.cpp
  ${PROJECT_SOURCE_DIR}/src/player/win32_host/interactive_player.cpp
  ${PROJECT_SOURCE_DIR}/src/player/win32_host/ordinary_player.cpp
  # The ordinary player's card checks and unpacking, and its safe opening of closing links,
  # are the same as the Linux player's.
  ${PROJECT_SOURCE_DIR}/src/player/ordinary_ui/card_unpack.cpp
  ${PROJECT_SOURCE_DIR}/src/player/ordinary_ui/safe_open.cpp)
target_include_directories(card_win32_host PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(card_win32_host PUBLIC card_stage card_player card_ordinary card_packaging card_platform)

# The icon resource, with the stock icon copied under an ASCII name for the resource compiler.
set(player_ico ${CMAKE_BINARY_DIR}/player.ico)
configure_file(${PROJECT_SOURCE_DIR}/data/图标/ICON26.ICO ${player_ico} COPYONLY)
set(player_rc ${CMAKE_BINARY_DIR}/player.rc)
configure_file(${PROJECT_SOURCE_DIR}/src/apps/win32_players/player.rc ${player_rc} COPYONLY)
set(player_res ${CMAKE_BINARY_DIR}/player_res.o)
add_custom_command(OUTPUT ${player_res}
  COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${player_rc} -o ${player_res}
  DEPENDS ${player_rc} ${player_ico} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

foreach(stub exe1 exe2 exe3)
  if(stub STREQUAL exe1)
    set(main ${PROJECT_SOURCE_DIR}/src/apps/win32_players/exe1_main.cpp)
  else()
    set(main ${PROJECT_SOURCE_DIR}/src/apps/win32_players/cardplayer_main.cpp)
  endif()
  add_executable(${stub} WIN32 ${main} ${player_res})
  target_link_libraries(${stub} PRIVATE card_win32_host)
  set_target_properties(${stub} PROPERTIES OUTPUT_NAME ${stub} SUFFIX ".exe")
  # Stripped, and with the resources as the file's last section (no relocation section after it).
  target_link_options(${stub} PRIVATE -municode -s -Wl,--disable-dynamicbase,--disable-reloc-section)
endforeach()
