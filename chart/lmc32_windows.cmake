# The DLL, its import library and its tests under Wine.
add_compile_definitions(UNICODE _UNICODE)

# Module-definition files from the one export table. On 32-bit x86 the
# functions are stdcall: the .def names the decorated symbols and the
# linker's --kill-at exports them undecorated. lmc32_exports.def lists the
# names the DLL must export, for the binary check.
set(LMC32_EXPORT_TABLE ${CMAKE_CURRENT_SOURCE_DIR}/exports.table)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LMC32_EXPORT_TABLE})
file(STRINGS ${LMC32_EXPORT_TABLE} lmc32_export_lines REGEX "^[A-Za-z_]")
set(lmc32_link_def "LIBRARY lmc32.dll\nEXPORTS\n")
set(lmc32_plain_def "LIBRARY lmc32.dll\nEXPORTS\n")
foreach(line IN LISTS lmc32_export_lines)
    if(NOT line MATCHES "^([A-Za-z_][A-Za-z_0-9]*)[ \t]+([0-9]+)[ \t]*$")
        message(FATAL_ERROR "exports.table: cannot read \"${line}\"")
    endif()
    if(ZU_WIN_BITS EQUAL 32)
        string(APPEND lmc32_link_def "    ${CMAKE_MATCH_1}@${CMAKE_MATCH_2}\n")
    else()
        string(APPEND lmc32_link_def "    ${CMAKE_MATCH_1}\n")
    endif()
    string(APPEND lmc32_plain_def "    ${CMAKE_MATCH_1}\n")
endforeach()
set(LMC32_DEF ${CMAKE_CURRENT_BINARY_DIR}/lmc32.def)
set(LMC32_EXPORTS_DEF ${CMAKE_CURRENT_BINARY_DIR}/lmc32_exports.def)
file(CONFIGURE OUTPUT ${LMC32_DEF} CONTENT "${lmc32_link_def}" @ONLY)
file(CONFIGURE OUTPUT ${LMC32_EXPORTS_DEF} CONTENT "${lmc32_plain_def}" @ONLY)

# Everything but the entry point, so that tests of inner parts can link it.
add_library(lmc32_core STATIC ${LMC32_CORE_SOURCES})
target_include_directories(lmc32_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/frame)
add_library(lmc32_impl STATIC
    frame/win/library_state.cpp
    frame/win/init.cpp
    frame/win/error_handler.cpp
    frame/win/trace_log.cpp
    frame/win/guarded_call.cpp
    frame/win/colors.cpp
    frame/win/memory.cpp
    frame/win/gdi_helpers.cpp
    frame/win/ui_helpers.cpp
    frame/win/window_procs.cpp
    frame/win/page_store.cpp
    frame/win/pages.cpp
    frame/win/graphs.cpp
    frame/win/painting.cpp
    frame/win/objects.cpp
    frame/win/line_attributes.cpp
    frame/win/highlight.cpp
    output/win/metafile_export.cpp
    output/win/page_capture.cpp
)
target_include_directories(lmc32_impl PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(lmc32_impl PUBLIC lmc32_core gdi32 user32)

add_library(lmc32 SHARED frame/win/dll_main.cpp frame/win/descriptor_layout.cpp resources/lmc32.rc ${LMC32_DEF})
set_target_properties(lmc32 PROPERTIES PREFIX "")
# Whole: the exports are named only by the .def file.
target_link_libraries(lmc32 PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,lmc32_impl>")
if(ZU_WIN_BITS EQUAL 32)
    target_link_options(lmc32 PRIVATE -Wl,--kill-at)
endif()
zu_check_product_binary(lmc32 EXPORTS_FILE ${LMC32_EXPORTS_DEF})

# Hosts link this import library: the one the linker writes with the DLL
# does not resolve stdcall callers of the undecorated exports.
set(LMC32_IMPLIB ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/liblmc32.a)
add_custom_command(OUTPUT ${LMC32_IMPLIB}
    COMMAND ${CMAKE_DLLTOOL} -d ${LMC32_DEF} -D lmc32.dll -k -l ${LMC32_IMPLIB}
    DEPENDS ${LMC32_DEF}
    COMMENT "Import library for lmc32.dll")
add_custom_target(lmc32_implib ALL DEPENDS ${LMC32_IMPLIB})
add_library(lmc32_import INTERFACE)
target_include_directories(lmc32_import INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(lmc32_import INTERFACE ${LMC32_IMPLIB})
add_dependencies(lmc32_import lmc32 lmc32_implib)

zu_wine_test(lmc32_core_wintest SOURCES ${LMC32_CORE_TESTS} LIBS lmc32_core)

# Inner parts without the DLL around them (the library's strings linked in).
zu_wine_test(lmc32_inner_wintest
    SOURCES
        tests/guarded_call_test.cpp
        tests/objects_test.cpp
        tests/message_box_answerer.cpp
        resources/lmc32.rc
    LIBS lmc32_impl)

# A host that raises errors which end its process, run by the DLL tests.
add_executable(lmc32_error_child tests/error_child.cpp tests/message_box_answerer.cpp)
target_link_libraries(lmc32_error_child PRIVATE lmc32_import)

zu_wine_test(lmc32_dll_wintest
    SOURCES
        tests/message_box_answerer.cpp
        tests/error_handler_test.cpp
        tests/init_test.cpp
        tests/utilities_test.cpp
        tests/pages_test.cpp
        tests/child_host.cpp
        tests/child_process_test.cpp
        tests/emf_shapes.cpp
        tests/page_pictures_test.cpp
    LIBS lmc32_import gdi32 user32)
add_dependencies(lmc32_dll_wintest lmc32_error_child)

# The demo's host program: links the DLL like any host.
add_executable(chart_demo ${CMAKE_SOURCE_DIR}/tools/demo-host/chart_demo.cpp)
target_link_libraries(chart_demo PRIVATE lmc32_import gdi32 user32)
target_link_options(chart_demo PRIVATE -municode)
