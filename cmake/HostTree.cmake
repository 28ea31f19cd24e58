# Helpers for the native tree: platform-free code, checked under
# AddressSanitizer and UBSan, fuzzed with libFuzzer, timed with Benchmark.
include_guard()

set(ZU_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
find_package(benchmark REQUIRED)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(ZU_HAVE_LIBFUZZER ON)
else()
    set(ZU_HAVE_LIBFUZZER OFF)
    message(STATUS "libFuzzer needs clang: fuzz targets are not built")
endif()

# A library of platform-free sources in up to three builds: NAME_checked with
# the sanitizers (for tests), NAME_fast, optimised (for benchmarks), and
# NAME_fuzz, instrumented for libFuzzer's coverage feedback as well.
function(zu_host_library name)
    add_library(${name}_checked STATIC ${ARGN})
    target_compile_options(${name}_checked PRIVATE ${ZU_SANITIZE} -O1 -g)
    target_link_options(${name}_checked PUBLIC ${ZU_SANITIZE})
    add_library(${name}_fast STATIC ${ARGN})
    target_compile_options(${name}_fast PRIVATE -O2)
    if(ZU_HAVE_LIBFUZZER)
        add_library(${name}_fuzz STATIC ${ARGN})
        target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer-no-link ${ZU_SANITIZE} -O1 -g)
    endif()
endfunction()

# Include directories for every build of a zu_host_library.
function(zu_host_library_includes name)
    foreach(variant checked fast fuzz)
        if(TARGET ${name}_${variant})
            target_include_directories(${name}_${variant} PUBLIC ${ARGN})
        endif()
    endforeach()
endfunction()

# A GoogleTest program over a checked library, registered with CTest.
function(zu_host_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_compile_options(${name} PRIVATE ${ZU_SANITIZE} -g)
    target_link_options(${name} PRIVATE ${ZU_SANITIZE})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    add_test(NAME host.${name} COMMAND ${name})
    set_tests_properties(host.${name} PROPERTIES
        ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# A libFuzzer target over the NAME_fuzz builds of the zu_host_library names
# in LIBS. CTest replays its seed corpus, then fuzzes for a few seconds from
# a scratch copy (the source corpus is never written).
function(zu_fuzz_target name)
    cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    if(NOT ZU_HAVE_LIBFUZZER)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    list(TRANSFORM F_LIBS APPEND _fuzz)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    add_test(NAME fuzz.${name}.replay
        COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz/replay $<TARGET_FILE:${name}> ${F_CORPUS})
    add_test(NAME fuzz.${name}.short
        COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz/short-run $<TARGET_FILE:${name}> ${F_CORPUS} 5)
endfunction()

function(zu_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_compile_options(${name} PRIVATE -O2)
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
