# Native build of the platform-free engine: tests, fuzzers, benchmarks.
zu_host_library(numerio_engine ${NUMERIO_ENGINE_SOURCES} engine/raw_file_posix.cpp exports.cpp)
zu_host_library_includes(numerio_engine ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/include)

zu_host_test(numerio_engine_test
    SOURCES
        engine/format_test.cpp
        engine/format_differential_test.cpp
        engine/float_parse_test.cpp
        engine/scan_test.cpp
        engine/scan_differential_test.cpp
        engine/stream_test.cpp
    LIBS numerio_engine_checked)

zu_fuzz_target(numerio_fuzz_strtod
    SOURCES engine/fuzz_strtod.cpp
    LIBS numerio_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/engine/fuzz_corpus/strtod)
zu_fuzz_target(numerio_fuzz_scanf
    SOURCES engine/fuzz_scanf.cpp
    LIBS numerio_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/engine/fuzz_corpus/scanf)

zu_benchmark(numerio_bench
    SOURCES engine/numerio_bench.cpp
    LIBS numerio_engine_fast)
