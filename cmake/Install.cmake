# The installed layout:
#   lib/lmcard/                 the program folder: programs, Flash.dll, side files, data folders
#   bin/lmcard, bin/lmflashcard, bin/cardtool
#                               links into it (the programs find their folder through
#                               /proc/self/exe, which resolves the link)
#   share/applications/         menu entries of the maker, the Flash card wizard and the players
#   share/mime/packages/        the file types of designs, templates and cards
#   share/icons/hicolor/        the icons
# Installed, the program folder is read-only: see src/platform/user_folders.h for where the
# programs write then. Only what is named here is installed; the build tree's program folder
# may hold whatever tests and runs left in it.
set(CARD_INSTALL_PROGRAM_DIR lib/lmcard)

foreach(t lmcard lmflashcard cardtool exe1 exe2 exe3)
  if(TARGET ${t})
    install(TARGETS ${t} RUNTIME DESTINATION ${CARD_INSTALL_PROGRAM_DIR})
  endif()
endforeach()
if(TARGET flashwriter)
  install(TARGETS flashwriter LIBRARY DESTINATION ${CARD_INSTALL_PROGRAM_DIR})
endif()

# The shipped files, without the scripts that generate them.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CARD_INSTALL_PROGRAM_DIR}
  PATTERN "make_*.sh" EXCLUDE PATTERN "make_*.py" EXCLUDE PATTERN "shapes.py" EXCLUDE)
foreach(f IN LISTS CARD_DATA_FOLDERS)
  install(DIRECTORY DESTINATION ${CARD_INSTALL_PROGRAM_DIR}/${f})
endforeach()
# Laid out at build time: the Flash player the pages carry, the web card player, and the Windows
# players that EXE cards carry (with their own Option.ini and FORM files).
install(DIRECTORY ${CARD_PROGRAM_DIR}/ruffle ${CARD_PROGRAM_DIR}/web ${CARD_PROGRAM_DIR}/windows
  DESTINATION ${CARD_INSTALL_PROGRAM_DIR} OPTIONAL)

# Option.ini describes the stubs as installed (stripped ones are shorter than the build's).
install(CODE "execute_process(COMMAND \"\${CMAKE_COMMAND}\"
  \"-DPROGRAM_DIR=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CARD_INSTALL_PROGRAM_DIR}\"
  -P \"${CMAKE_CURRENT_LIST_DIR}/WriteOptionIni.cmake\" COMMAND_ERROR_IS_FATAL ANY)")

# The links, menu entries, file types and icons; paths in the entries name the real prefix.
install(CODE "set(CARD_DESKTOP_DIR \"${PROJECT_SOURCE_DIR}/desktop\")
  set(CARD_INSTALL_PROGRAM_DIR \"${CARD_INSTALL_PROGRAM_DIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallDesktop.cmake)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/lmcard-mime.xml DESTINATION share/mime/packages RENAME lmcard.xml)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/icons/lmcard.svg ${PROJECT_SOURCE_DIR}/desktop/icons/lmflashcard.svg
  DESTINATION share/icons/hicolor/scalable/apps)
