# Option.ini in the program folder: the length of each player stub (EXE1..EXE3), at which the card
# builders cut a stub copy before an icon patch. Our stubs are cut at their full length, so the
# file is written after the players are linked, from their sizes. default.txt and the FORM files
# are fixed and come from data/.
add_custom_target(side_files ALL
  COMMAND ${CMAKE_COMMAND} -DPROGRAM_DIR=${CARD_PROGRAM_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/WriteOptionIni.cmake
  COMMENT "Writing Option.ini from the player stubs")
add_dependencies(side_files program_folder)

# Runs once every target is known: side_files waits for whatever builds exe1.exe … exe3.exe.
function(card_side_files_after_players)
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
      get_target_property(out ${t} OUTPUT_NAME)
      if(t MATCHES "^exe[123](\\.exe)?$" OR out MATCHES "^exe[123](\\.exe)?$")
        add_dependencies(side_files ${t})
      endif()
    endforeach()
  endwhile()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL card_side_files_after_players)
