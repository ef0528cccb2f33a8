# Checked builds: CARD_SANITIZE compiles everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (float-to-int overflow included), every finding fatal; CARD_FUZZ
# adds the libFuzzer targets of fuzz/ and needs clang. Under clang the sanitized objects also
# carry the fuzzer's coverage counters, so the sanitizer build and the fuzz build compile the
# same objects (and a compiler cache serves one from the other).
option(CARD_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
option(CARD_FUZZ "Build the libFuzzer targets of fuzz/ (clang only; implies CARD_SANITIZE)" OFF)

if(CARD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CARD_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(CARD_SANITIZE ON CACHE BOOL "" FORCE)
endif()

if(CARD_SANITIZE)
  set(card_sanitizers address,undefined,float-cast-overflow)
  add_compile_options(-fsanitize=${card_sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${card_sanitizers} -fno-sanitize-recover=all)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

# A checked build keeps the assertions and optimises lightly: quicker to compile, and the
# sanitizers' reports stay close to the source.
if(CARD_SANITIZE AND CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -g")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g")
endif()
