# Where the targets take their C and C++ sources from, with the compile options that make the
# suite's string literals GBK bytes.
#
# GCC reads the UTF-8 sources and writes the literals as GB18030 (-fexec-charset). Clang has no
# such option: under clang the targets compile a copy of src/, tests/, fuzz/ and bench/ in the
# build folder whose plain string and character literals are already GB18030 bytes
# (cmake/gbk_literals.py); the copy is brought up to date before every build.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(CARD_CODE_DIR ${CMAKE_BINARY_DIR}/gbk-code)
  set(card_code_dirs src tests fuzz bench)
  set(card_code_command ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/gbk_literals.py
      ${PROJECT_SOURCE_DIR} ${CARD_CODE_DIR} ${card_code_dirs})
  execute_process(COMMAND ${card_code_command} COMMAND_ERROR_IS_FATAL ANY)
  set(card_code_globs)
  foreach(d IN LISTS card_code_dirs)
    foreach(ext cpp h c cc hpp)
      list(APPEND card_code_globs ${PROJECT_SOURCE_DIR}/${d}/*.${ext})
    endforeach()
  endforeach()
  file(GLOB_RECURSE card_code_files CONFIGURE_DEPENDS ${card_code_globs})
  list(TRANSFORM card_code_files REPLACE "^${PROJECT_SOURCE_DIR}/" "${CARD_CODE_DIR}/" OUTPUT_VARIABLE card_code_copies)
  add_custom_target(card_gbk_code
    COMMAND ${card_code_command}
    BYPRODUCTS ${card_code_copies}
    COMMENT "Copying the sources with GBK literals"
    VERBATIM)
  add_compile_options(-Wall -Wextra -Wno-invalid-source-encoding)
else()
  set(CARD_CODE_DIR ${PROJECT_SOURCE_DIR})
  add_compile_options(-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=GB18030)
endif()

# A target compiled from CARD_CODE_DIR waits for the copy to be current.
function(card_uses_code target)
  if(TARGET card_gbk_code)
    add_dependencies(${target} card_gbk_code)
  endif()
endfunction()
