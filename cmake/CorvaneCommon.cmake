# One interface target carries the language level, warnings and Qt hygiene for every target.
option(CORVANE_WERROR "Treat compiler warnings as errors" OFF)

add_library(corvane_options INTERFACE)
target_compile_features(corvane_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(corvane_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /utf-8>
    $<$<AND:$<BOOL:${CORVANE_WERROR}>,$<CXX_COMPILER_ID:GNU,Clang>>:-Werror>
    $<$<AND:$<BOOL:${CORVANE_WERROR}>,$<CXX_COMPILER_ID:MSVC>>:/WX>)
# Tests (property CORVANE_TEST) may build texts from plain literals; the program may not.
target_compile_definitions(corvane_options INTERFACE
    $<IF:$<BOOL:$<TARGET_PROPERTY:CORVANE_TEST>>,QT_RESTRICTED_CAST_FROM_ASCII,QT_NO_CAST_FROM_ASCII>
    QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
    QT_DISABLE_DEPRECATED_UP_TO=0x060400)

# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build; any report is fatal.
option(CORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CORVANE_SANITIZE)
    set(_corvane_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)
    target_compile_options(corvane_options INTERFACE ${_corvane_sanitizers})
    target_link_options(corvane_options INTERFACE ${_corvane_sanitizers})
endif()
