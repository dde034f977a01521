# One interface target carries the language level, the warnings and the code page of
# narrow literals; every target of the project links it.
include(CheckCXXSourceCompiles)

add_library(nf_options INTERFACE)
target_compile_features(nf_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(nf_options INTERFACE -Wall -Wextra)

# Texts are code page 936 bytes, so narrow literals in sys/, app/ and the tests are compiled
# as GB18030 (the same bytes as CP936 for every character CP936 holds; plain GBK breaks on
# the "µ" in libstdc++'s <chrono>). text/ and web/ hold no non-ASCII literal, so the core
# also builds with a compiler that cannot do this (clang, for fuzzing).
set(NF_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=GB18030)
set(CMAKE_REQUIRED_FLAGS "-finput-charset=UTF-8 -fexec-charset=GB18030")
check_cxx_source_compiles([=[
  static_assert(sizeof("搜索") == 5, "two double-byte characters");
  static_assert(static_cast<unsigned char>("搜索"[0]) == 0xCB &&
                static_cast<unsigned char>("搜索"[1]) == 0xD1 &&
                static_cast<unsigned char>("搜索"[2]) == 0xCB &&
                static_cast<unsigned char>("搜索"[3]) == 0xF7, "code page 936 bytes");
  int main() { return 0; }
]=] NF_HAS_GB18030_LITERALS)
unset(CMAKE_REQUIRED_FLAGS)

add_library(nf_cp936_literals INTERFACE)
if(NF_HAS_GB18030_LITERALS)
  target_compile_options(nf_cp936_literals INTERFACE ${NF_CHARSET_FLAGS})
elseif(NOVELFETCH_GUI OR NOVELFETCH_TESTS)
  message(FATAL_ERROR
    "novelfetch compiles its Chinese literals as code page 936 bytes, and "
    "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} cannot: it must accept "
    "-fexec-charset=GB18030 and turn \"搜索\" into the bytes CB D1 CB F7. Use GCC "
    "(or MSVC with /execution-charset:gb18030), or configure only the core with "
    "-DNOVELFETCH_GUI=OFF -DNOVELFETCH_TESTS=OFF.")
endif()

# Sanitizer builds: NOVELFETCH_SANITIZE=address,undefined or thread.
set(NOVELFETCH_SANITIZE "" CACHE STRING "Sanitizers to build with (address,undefined | thread)")
if(NOVELFETCH_SANITIZE)
  target_compile_options(nf_options INTERFACE -fsanitize=${NOVELFETCH_SANITIZE} -fno-omit-frame-pointer
                                              -fno-sanitize-recover=all)
  target_link_options(nf_options INTERFACE -fsanitize=${NOVELFETCH_SANITIZE})
endif()
