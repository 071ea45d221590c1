# Windows test programs, run by ctest under Wine with a private prefix and an
# Xvfb display that a fixture brings up once per run.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_HARNESS}/wine-run ${CMAKE_BINARY_DIR} ${WINE_ROUTE})

# Holds the Wine desktop open between test programs (see the program's comment).
add_executable(desktop_keeper tests/harness/desktop_keeper.cpp)
target_link_options(desktop_keeper PRIVATE -municode -mwindows)
set_target_properties(desktop_keeper PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_test(NAME wine_up COMMAND ${WINE_HARNESS}/wine-up ${CMAKE_BINARY_DIR} ${WINE_ROUTE})
add_test(NAME wine_down COMMAND ${WINE_HARNESS}/wine-down ${CMAKE_BINARY_DIR})
set_tests_properties(wine_up PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP wine)

file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp)
add_library(win_test_support STATIC ${WIN_TEST_SUPPORT})
target_include_directories(win_test_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(win_test_support PUBLIC coverdeck_core coverdeck_helpers gtest)
target_compile_definitions(win_test_support PUBLIC
    COVERDECK_BIN_DIR="${CMAKE_BINARY_DIR}/bin" COVERDECK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The two-monitor rig (tests/harness/two-screens-up): Xorg's dummy video
# driver laid out as two monitors, with a Wine prefix and server of its own in
# build/two-screens, so the Xvfb-based tests are not disturbed.
add_test(NAME two_screens_up COMMAND ${WINE_HARNESS}/two-screens-up ${CMAKE_BINARY_DIR} ${WINE_ROUTE})
add_test(NAME two_screens_down COMMAND ${WINE_HARNESS}/wine-down ${CMAKE_BINARY_DIR}/two-screens)
set_tests_properties(two_screens_up PROPERTIES FIXTURES_SETUP two_screens LABELS two_screens TIMEOUT 300)
set_tests_properties(two_screens_down PROPERTIES FIXTURES_CLEANUP two_screens LABELS two_screens)

# The 150 % rig (tests/harness/high-dpi-up): an Xvfb display and a prefix of
# its own in build/high-dpi that reports 144 DPI.
add_test(NAME high_dpi_up COMMAND ${WINE_HARNESS}/high-dpi-up ${CMAKE_BINARY_DIR} ${WINE_ROUTE})
add_test(NAME high_dpi_down COMMAND ${WINE_HARNESS}/wine-down ${CMAKE_BINARY_DIR}/high-dpi)
set_tests_properties(high_dpi_up PROPERTIES FIXTURES_SETUP high_dpi LABELS high_dpi TIMEOUT 300)
set_tests_properties(high_dpi_down PROPERTIES FIXTURES_CLEANUP high_dpi LABELS high_dpi)

# One program per test file: every program starts with a fresh DisplayState.
# It runs in FIXTURE's Wine, whose prefix and display live in STATE; all
# programs of one display share its desktop (LOCK), where windows are found
# by class name.
function(add_wine_test_programs pattern fixture state lock)
    file(GLOB sources CONFIGURE_DEPENDS ${pattern})
    foreach(source ${sources})
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source} $<TARGET_OBJECTS:coverdeck_resources>)
        target_link_libraries(${name} PRIVATE win_test_support gtest_main)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
        add_dependencies(${name} coverdeck quaver_host bass bass_notags)
        add_test(NAME ${name} COMMAND ${WINE_HARNESS}/wine-gtest ${state} ${WINE_ROUTE} $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${fixture} RESOURCE_LOCK ${lock} TIMEOUT 600)
        if(NOT fixture STREQUAL wine)
            set_tests_properties(${name} PROPERTIES LABELS ${fixture})
        endif()
    endforeach()
endfunction()

add_wine_test_programs(${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp wine ${CMAKE_BINARY_DIR} desktop)
add_wine_test_programs(${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp wine ${CMAKE_BINARY_DIR} desktop)
add_wine_test_programs(${CMAKE_SOURCE_DIR}/tests/two_screens/*_test.cpp two_screens ${CMAKE_BINARY_DIR}/two-screens
    two_screens_desktop)
add_wine_test_programs(${CMAKE_SOURCE_DIR}/tests/high_dpi/*_test.cpp high_dpi ${CMAKE_BINARY_DIR}/high-dpi
    high_dpi_desktop)
add_dependencies(theme_kit_test coverdeck-theme)
add_dependencies(theme_preview_e2e_test coverdeck-theme)

# The stress program: each case in a process of its own, bounded in time, so
# that a crash or a hang fails that case alone. It prints figures to quote.
add_executable(coverdeck_stress tests/stress/stress.cpp $<TARGET_OBJECTS:coverdeck_resources>)
target_link_libraries(coverdeck_stress PRIVATE win_test_support)
set_target_properties(coverdeck_stress PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
foreach(case burst cycles drag-quit activate-quit menu-quit bad-covers bad-themes)
    add_test(NAME stress_${case} COMMAND ${WINE_HARNESS}/wine-run ${CMAKE_BINARY_DIR} ${WINE_ROUTE}
        $<TARGET_FILE:coverdeck_stress> ${case})
    set_tests_properties(stress_${case} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK desktop TIMEOUT 180
        LABELS stress)
endforeach()
