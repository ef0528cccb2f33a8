# cmake -DPROGRAM_DIR=… -P WriteOptionIni.cmake: writes Option.ini with the sizes of the player
# stubs found in the program folder (a missing stub leaves its key out, so the builders' default
# applies). The file is rewritten only when its contents change.
set(text "[Application]\r\n")
foreach(n 1 2 3)
  if(EXISTS "${PROGRAM_DIR}/exe${n}.exe")
    file(SIZE "${PROGRAM_DIR}/exe${n}.exe" size)
    string(APPEND text "EXE${n}=${size}\r\n")
  endif()
endforeach()
set(ini "${PROGRAM_DIR}/Option.ini")
set(old "")
if(EXISTS "${ini}")
  file(READ "${ini}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${ini}" "${text}")
endif()
