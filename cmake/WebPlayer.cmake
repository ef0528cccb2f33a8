# The web card player: the card rules (show box, transition engine, caption places, the
# ordinary card player with its greeting entrance) compiled
# with emcc to WebAssembly inside one JavaScript file, and the page's host script, laid out as
# web/card_rules.js and web/card_host.js beside the programs. The web card writer inlines both
# into every page. Only our own code is compiled: no ports, no file system.
find_program(CARD_EMCXX em++)
set(CARD_WEB_DIR ${CARD_PROGRAM_DIR}/web)
set(web_browser_dir ${PROJECT_SOURCE_DIR}/src/player/web/browser)

add_custom_command(OUTPUT ${CARD_WEB_DIR}/card_host.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CARD_WEB_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${web_browser_dir}/card_host.js ${CARD_WEB_DIR}/card_host.js
  DEPENDS ${web_browser_dir}/card_host.js
  COMMENT "Laying out the web card host script")
# Flash card projects' web cards play their movie's layout with a host script of their own.
add_custom_command(OUTPUT ${CARD_WEB_DIR}/flash_host.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CARD_WEB_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${web_browser_dir}/flash_host.js ${CARD_WEB_DIR}/flash_host.js
  DEPENDS ${web_browser_dir}/flash_host.js
  COMMENT "Laying out the Flash web card host script")

if(CARD_EMCXX)
  set(src ${PROJECT_SOURCE_DIR}/src)
  file(GLOB web_rule_srcs CONFIGURE_DEPENDS ${src}/maker/transitions/*.cpp)
  list(APPEND web_rule_srcs
    ${web_browser_dir}/web_player_api.cpp
    ${web_browser_dir}/ordinary_web_api.cpp
    ${src}/maker/ordinary/card_player.cpp
    ${src}/maker/ordinary/audio_sequence.cpp
    ${src}/maker/ordinary/card_movement.cpp
    ${src}/maker/ordinary/greeting_window.cpp
    ${src}/maker/ordinary/close_actions.cpp
    ${src}/maker/ordinary/ordinary_settings.cpp
    ${src}/player/stage/entrance_geometry.cpp
    ${src}/player/stage/show_box_player.cpp
    ${src}/maker/document/caption_geometry.cpp
    ${src}/platform/bitmap.cpp
    ${src}/platform/color.cpp
    ${src}/platform/message_pump.cpp)
  file(GLOB web_rule_headers CONFIGURE_DEPENDS ${src}/maker/transitions/*.h ${src}/platform/bitmap.h
       ${src}/platform/color.h ${src}/player/stage/show_box_player.h ${src}/maker/document/caption_geometry.h
       ${src}/maker/ordinary/*.h ${src}/player/stage/entrance_geometry.h)
  # Debian's emscripten finds its acorn through NODE_PATH when the node on PATH is not Debian's.
  set(web_node_path "")
  if(EXISTS /usr/share/nodejs/acorn)
    set(web_node_path NODE_PATH=/usr/share/nodejs)
  endif()
  add_custom_command(OUTPUT ${CARD_WEB_DIR}/card_rules.js
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CARD_WEB_DIR}
    COMMAND ${CMAKE_COMMAND} -E env ${web_node_path}
            ${CARD_EMCXX} -std=c++20 -Os -DNDEBUG -I${src} ${web_rule_srcs}
            -sMODULARIZE=1 -sEXPORT_NAME=CardRules -sFILESYSTEM=0 -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1
            -sENVIRONMENT=web -sEXPORTED_FUNCTIONS=_malloc,_free -sEXPORTED_RUNTIME_METHODS=HEAPU8,HEAP32
            -o ${CARD_WEB_DIR}/card_rules.js
    DEPENDS ${web_rule_srcs} ${web_rule_headers}
    COMMENT "Compiling the web card rules to WebAssembly")
  add_custom_target(web_player ALL DEPENDS ${CARD_WEB_DIR}/card_rules.js ${CARD_WEB_DIR}/card_host.js
                                       ${CARD_WEB_DIR}/flash_host.js)
else()
  message(WARNING "em++ not found: web cards cannot be written (install Debian's emscripten)")
  add_custom_target(web_player ALL DEPENDS ${CARD_WEB_DIR}/card_host.js ${CARD_WEB_DIR}/flash_host.js)
endif()
# cardtool, the card maker and the Flash wizard write web cards: the scripts are laid out whenever
# they are built.
foreach(writer cardtool lmcard lmflashcard)
  if(TARGET ${writer})
    add_dependencies(${writer} web_player)
  endif()
endforeach()
