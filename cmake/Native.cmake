# The native build: the platform-free logic with AddressSanitizer and UndefinedBehaviorSanitizer
# (BK_SANITIZE), and libFuzzer targets when the compiler is clang (BK_FUZZ).
option(BK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(BK_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(BK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(BK_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "BK_FUZZ needs clang (libFuzzer)")
endif()
if(BK_FUZZ)
  # Coverage instrumentation for everything, so that the fuzz targets are guided by the
  # branches of the logic libraries and not only by their own; the targets alone link libFuzzer
  # (tests/fuzz). The sanitizer runtime takes the coverage callbacks in the other programs.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
