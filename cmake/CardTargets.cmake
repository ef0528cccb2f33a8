# Helpers that keep the layers honest: a core library globs the units of its folders
# and links only what it is given (never Qt); a ui library may link Qt Widgets.

# card_library(NAME DIRS dir... DEPS target... [QT])
function(card_library name)
  cmake_parse_arguments(A "QT" "" "DIRS;DEPS" ${ARGN})
  set(srcs)
  foreach(d IN LISTS A_DIRS)
    file(GLOB s CONFIGURE_DEPENDS ${CARD_CODE_DIR}/src/${d}/*.cpp ${CARD_CODE_DIR}/src/${d}/*.h)
    list(APPEND srcs ${s})
  endforeach()
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    card_uses_code(${name})
    target_include_directories(${name} PUBLIC ${CARD_CODE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
    if(A_QT)
      set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
  else()
    # A subsystem whose units have not been written yet still gives its dependants a target.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CARD_CODE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${A_DEPS})
  endif()
endfunction()

# card_tests(NAME DIRS dir... LIBS target... [QT])
# One test program per subsystem from tests/<dir>/*_test.cpp; each GoogleTest case is its own CTest test.
function(card_tests name)
  cmake_parse_arguments(A "QT" "" "DIRS;LIBS" ${ARGN})
  set(srcs)
  foreach(d IN LISTS A_DIRS)
    file(GLOB s CONFIGURE_DEPENDS ${CARD_CODE_DIR}/tests/${d}/*_test.cpp)
    list(APPEND srcs ${s})
  endforeach()
  if(NOT srcs)
    return()
  endif()
  # tests/support/ is compiled once and linked whole into every test program.
  if(NOT TARGET card_test_support)
    file(GLOB helpers CONFIGURE_DEPENDS ${CARD_CODE_DIR}/tests/support/*.cpp)
    add_library(card_test_support OBJECT ${helpers})
    card_uses_code(card_test_support)
    target_include_directories(card_test_support PUBLIC ${CARD_CODE_DIR}/tests ${CARD_CODE_DIR}/src)
    # It reads PNG screenshots and SWF movies.
    target_link_libraries(card_test_support PUBLIC card_platform GTest::gtest PNG::PNG ZLIB::ZLIB)
    target_compile_definitions(card_test_support PUBLIC
      CARD_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
      CARD_PROGRAM_DIR="${CARD_PROGRAM_DIR}"
      CARD_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      CARD_TEST_CONFIG_HOME="${CMAKE_BINARY_DIR}/test-config")
  endif()
  add_executable(${name} ${srcs})
  card_uses_code(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE card_test_support ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
    Threads::Threads)
  # tests/support/test_environment.cpp sets the offscreen platform and the registry folder.
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  add_dependencies(${name} program_folder)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES TIMEOUT 300)
endfunction()
