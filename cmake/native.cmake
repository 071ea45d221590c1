# The parts that need no Win32, built for Linux so they can run under the
# sanitizers and the fuzzer.
find_package(GTest REQUIRED)
add_compile_options(-Wall -Wextra)

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*_test.cpp)
if(NATIVE_TESTS)
    add_executable(native_tests ${NATIVE_TESTS})
    target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(native_tests PRIVATE GTest::gtest_main)
    add_test(NAME native_tests COMMAND native_tests)
endif()
add_test(NAME builtin_theme_pictures COMMAND python3 ${CMAKE_SOURCE_DIR}/resources/make_builtin_theme.py --check)
