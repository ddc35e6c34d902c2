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
