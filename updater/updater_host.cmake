# Native build of the platform-free core, tested under ASan/UBSan.
zu_host_library(updater_core ${UPDATER_CORE_SOURCES})
zu_host_library_includes(updater_core ${CMAKE_CURRENT_SOURCE_DIR})

zu_host_test(updater_core_test
    SOURCES ${UPDATER_CORE_TESTS}
    LIBS updater_core_checked)

zu_fuzz_target(updater_discovery_fuzz
    SOURCES tests/discovery_fuzz.cpp
    LIBS updater_core
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz_corpus/discovery)
