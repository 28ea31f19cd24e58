# ZuUpdate.exe (the 32-bit product in build/win) and its tests under Wine.
add_library(updater_core STATIC ${UPDATER_CORE_SOURCES})
target_include_directories(updater_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_library(updater_win STATIC
    app/win/main_window.cpp
    app/win/message_pump.cpp
    app/win/profile_file.cpp
    app/win/system_paths.cpp
    app/win/text_convert.cpp
    app/win/window_layer.cpp
    discovery/win/adapter_exchange.cpp
    discovery/win/discovery_socket.cpp
    discovery/win/exclusion_file.cpp
    discovery/win/network_adapters.cpp
)
target_include_directories(updater_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(updater_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(updater_win PUBLIC updater_core
    comctl32 comdlg32 version ws2_32 iphlpapi gdi32 user32 shell32)

enable_language(RC)
add_executable(ZuUpdate WIN32 app/win/main.cpp resources/zuupdate.rc)
target_link_options(ZuUpdate PRIVATE -municode -mwindows)
target_link_libraries(ZuUpdate PRIVATE updater_win)
set_source_files_properties(resources/zuupdate.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_CURRENT_SOURCE_DIR}/resources/zuupdate.ico;${CMAKE_CURRENT_SOURCE_DIR}/resources/savelog.ico")
zu_check_product_binary(ZuUpdate)

# The platform-free core again, with the Windows ABI and 16-bit wchar_t.
zu_wine_test(updater_core_wintest
    SOURCES ${UPDATER_CORE_TESTS}
    LIBS updater_core)

# The window layer against real controls and the exclusion file on a real
# file system (no program is started).
zu_wine_test(updater_win_wintest
    SOURCES tests/win/memo_wintest.cpp tests/win/exclusion_file_wintest.cpp
    LIBS updater_win)

# ZuUpdate.exe driven through its windows. It broadcasts on every network
# adapter, so the test runs only in a network namespace of its own with its
# own Wine session (tools/gui-driver/run-isolated), never in the shared one.
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/gui-driver ${CMAKE_BINARY_DIR}/tools/gui-driver)
add_executable(zuupdate_gui_test tests/gui/zuupdate_gui_test.cpp)
target_link_libraries(zuupdate_gui_test PRIVATE gui_driver comctl32 gtest_main)
target_include_directories(zuupdate_gui_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(zuupdate_gui_test ZuUpdate)
if(ZU_WINE_TESTS)
    add_test(NAME win${ZU_WIN_BITS}.zuupdate_gui_test
        COMMAND ${CMAKE_SOURCE_DIR}/tools/gui-driver/run-isolated
            ${CMAKE_CURRENT_BINARY_DIR}/gui-session win${ZU_WIN_BITS} $<TARGET_FILE:zuupdate_gui_test>)
    set_tests_properties(win${ZU_WIN_BITS}.zuupdate_gui_test PROPERTIES LABELS "wine;netns" TIMEOUT 600)
endif()

# The network scan against simulated instruments (tools/instrument-sim) in a
# private network (tools/netlab); the simulator comes from the native tree.
add_executable(zuupdate_scan_e2e_test tests/gui/zuupdate_scan_e2e_test.cpp)
target_link_libraries(zuupdate_scan_e2e_test PRIVATE gui_driver iphlpapi ws2_32 advapi32 gtest_main)
target_include_directories(zuupdate_scan_e2e_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(zuupdate_scan_e2e_test ZuUpdate)
set(ZU_INSTRUMENT_SIM ${CMAKE_SOURCE_DIR}/build/host/tools/instrument-sim/instrument-sim
    CACHE FILEPATH "instrument-sim of the native tree, for the scan test")
if(ZU_WINE_TESTS)
    add_test(NAME win${ZU_WIN_BITS}.zuupdate_scan_e2e_test
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/gui/run-scan-e2e ${CMAKE_SOURCE_DIR}/tools/netlab/netlab
            ${ZU_INSTRUMENT_SIM} win${ZU_WIN_BITS} $<TARGET_FILE:zuupdate_scan_e2e_test>)
    # Needs root for the namespaces and the native tree's simulator; reports
    # 77 without them.
    set_tests_properties(win${ZU_WIN_BITS}.zuupdate_scan_e2e_test PROPERTIES
        LABELS "wine;netns" TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
