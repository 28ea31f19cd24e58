# The DLL and its tests under Wine.
add_library(numerio_engine STATIC ${NUMERIO_ENGINE_SOURCES} engine/raw_file_win32.cpp)
target_include_directories(numerio_engine PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

if(ZU_WIN_BITS EQUAL 64)
    set(NUMERIO_DEF numerio64.def)
else()
    set(NUMERIO_DEF numerio.def)
endif()
add_library(numerio SHARED exports.cpp dll_main.cpp ${NUMERIO_DEF})
set_target_properties(numerio PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
target_include_directories(numerio PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(numerio PRIVATE numerio_engine)
zu_check_product_binary(numerio EXPORTS_FILE ${CMAKE_CURRENT_SOURCE_DIR}/numerio.def)

# The engine's own tests, built for Windows: the Windows ABI, the 16-bit
# wchar_t and the platform's C++ runtime are what the DLL really runs on.
zu_wine_test(numerio_engine_wintest
    SOURCES
        engine/format_test.cpp
        engine/float_parse_test.cpp
        engine/scan_test.cpp
    LIBS numerio_engine)

# The exported interface as a host sees it, under German and French
# regional settings.
zu_wine_test(numerio_dll_test
    SOURCES tests/numerio_dll_test.cpp
    LIBS numerio)

add_executable(numerio_demo ${CMAKE_SOURCE_DIR}/tools/demo-host/numerio_demo.cpp)
target_link_libraries(numerio_demo PRIVATE numerio)

# Timing against the platform's runtime, run by hand (see README).
add_executable(numerio_winbench tests/numerio_winbench.cpp)
target_link_libraries(numerio_winbench PRIVATE numerio)
