# One place for the language level, warnings and sanitizer flags; every target links it.
# The language is standard C++20 without the compiler's extensions.
set(CMAKE_CXX_EXTENSIONS OFF)
add_library(brevanta_common INTERFACE)
target_compile_features(brevanta_common INTERFACE cxx_std_20)
target_compile_options(brevanta_common INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                 -Wno-sign-conversion -Wold-style-cast
                                                 -Woverloaded-virtual -Wnon-virtual-dtor)
# GCC 12 reports overlapping copies inside std::string concatenation at -O3 that cannot
# happen (its known -Wrestrict false positive); later releases no longer do.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(brevanta_common INTERFACE -Wno-restrict)
endif()
if(BREVANTA_WERROR)
    target_compile_options(brevanta_common INTERFACE -Werror)
endif()
target_compile_definitions(brevanta_common INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
if(BREVANTA_SANITIZE)
    target_compile_options(brevanta_common INTERFACE -fsanitize=address,undefined
                                                     -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(brevanta_common INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz build: clang's libFuzzer instruments every library; the targets link its runtime.
if(BREVANTA_FUZZ)
    target_compile_options(brevanta_common INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                     -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(brevanta_common INTERFACE -fsanitize=address,undefined)
endif()
