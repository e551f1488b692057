# Instrumented builds, each in a build folder of its own:
#   -DSANITIZE=ON  everything with AddressSanitizer and UndefinedBehaviorSanitizer, for the test suite;
#   -DFUZZ=ON      the libraries instrumented for libFuzzer (clang only) and the fuzz targets of tests/fuzz.
option(SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(FUZZ "Build the fuzz targets of tests/fuzz with libFuzzer (needs clang)" OFF)

if(SANITIZE AND FUZZ)
  message(FATAL_ERROR "SANITIZE and FUZZ go into separate build folders")
endif()

# Undefined behaviour stops the program, so that it fails a test instead of scrolling past.
set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

if(SANITIZE)
  add_compile_options(${sanitizer_flags})
  add_link_options(-fsanitize=address,undefined)
endif()

if(FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(${sanitizer_flags} -fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=address,undefined)
endif()
