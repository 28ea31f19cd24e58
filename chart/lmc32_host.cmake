# Native build of lmc32's platform-free core and its tests.
zu_host_library(lmc32_core ${LMC32_CORE_SOURCES})
zu_host_test(lmc32_core_test SOURCES ${LMC32_CORE_TESTS} LIBS lmc32_core_checked)
