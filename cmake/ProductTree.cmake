# Helpers for the Windows trees. build/win is the product (32-bit). Its
# tests run under Wine through the cross-compiling emulator (tools/wine/run)
# when ZU_WINE_TESTS is on; on machines that cannot run 32-bit Wine the same
# tests run from a 64-bit build of the same sources instead (build/win64).
include_guard()

option(ZU_WINE_TESTS "Register the Windows test programs with CTest (run under Wine)" ON)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
add_compile_options(-Wall -Wextra)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZU_WIN_BITS 64)
else()
    set(ZU_WIN_BITS 32)
endif()

# A GoogleTest program run under Wine.
function(zu_wine_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
    if(ZU_WINE_TESTS)
        add_test(NAME win${ZU_WIN_BITS}.${name} COMMAND ${name})
        set_tests_properties(win${ZU_WIN_BITS}.${name} PROPERTIES LABELS wine)
    endif()
endfunction()

# Checks a built 32-bit product binary with the cross binutils: it is PE32
# for i386, imports no DLL of the toolchain, and (for DLLs) exports exactly
# the names listed in EXPORTS_FILE.
function(zu_check_product_binary target)
    cmake_parse_arguments(C "" "EXPORTS_FILE" "" ${ARGN})
    if(NOT ZU_WIN_BITS EQUAL 32)
        return()
    endif()
    add_test(NAME product.${target}
        COMMAND ${CMAKE_SOURCE_DIR}/tools/check-product-binary $<TARGET_FILE:${target}> "${C_EXPORTS_FILE}")
endfunction()
