# The plug-in, its tests, the sample host, the stand-in audio library and the
# tools, cross-built with mingw-w64.
enable_language(RC)
include(cmake/wine-route.cmake)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DVERSION_MAJOR=${PROJECT_VERSION_MAJOR} -DVERSION_MINOR=${PROJECT_VERSION_MINOR} -DVERSION_PATCH=${PROJECT_VERSION_PATCH}")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
add_compile_options(-Wall -Wextra)
# The compiler runtime goes into each binary: only system DLLs are imported.
add_link_options(-static -static-libgcc -static-libstdc++)
# No link time in the PE headers: the same commit gives the same bytes.
add_link_options(-Wl,--no-insert-timestamp)

file(GLOB PRODUCT_SOURCES CONFIGURE_DEPENDS
    state/*.cpp host/*.cpp window/*.cpp cover/*.cpp render/*.cpp)
list(REMOVE_ITEM PRODUCT_SOURCES ${CMAKE_SOURCE_DIR}/host/dll_main.cpp)

add_library(coverdeck_core STATIC ${PRODUCT_SOURCES})
target_include_directories(coverdeck_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(coverdeck_core PUBLIC gdiplus ole32 shlwapi user32 gdi32 kernel32)

add_library(coverdeck_resources OBJECT resources/coverdeck.rc)
# An include folder, not a flag: CMake quotes it for a source path with spaces.
target_include_directories(coverdeck_resources PRIVATE ${CMAKE_SOURCE_DIR})
set_source_files_properties(resources/coverdeck.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/context_menu.rc;${CMAKE_SOURCE_DIR}/resources/builtin_background.png;${CMAKE_SOURCE_DIR}/resources/builtin_overlay.png;${CMAKE_SOURCE_DIR}/resources/pictures.rc;${CMAKE_SOURCE_DIR}/resources/version.rc;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_library(coverdeck SHARED host/dll_main.cpp host/coverdeck.def $<TARGET_OBJECTS:coverdeck_resources>)
target_link_libraries(coverdeck PRIVATE coverdeck_core)
set_target_properties(coverdeck PROPERTIES PREFIX "" SUFFIX ".qpl")
# The tests load the file that ships: without debug sections or symbols. The
# full file stays in bin/unstripped for a debugger.
add_custom_command(TARGET coverdeck POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/unstripped
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:coverdeck> ${CMAKE_BINARY_DIR}/bin/unstripped/
    # strip stamps a PE file with the current time unless told a time.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} --strip-all $<TARGET_FILE:coverdeck>)

add_subdirectory(standin/bass)
add_subdirectory(samplehost)
add_subdirectory(tools)
include(cmake/wine-tests.cmake)
include(cmake/release.cmake)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PE_MACHINE x86-64)
else()
    set(PE_MACHINE i386)
endif()
add_test(NAME product_pe COMMAND ${CMAKE_SOURCE_DIR}/tests/harness/check-pe
    ${CMAKE_OBJDUMP} $<TARGET_FILE:coverdeck> ${PE_MACHINE})
set_tests_properties(product_pe PROPERTIES LABELS pe)

# Presentation benchmark: run by hand under wine64, prints figures; not a test.
add_executable(present_frame_bench bench/present_frame_bench.cpp $<TARGET_OBJECTS:coverdeck_resources>)
target_link_libraries(present_frame_bench PRIVATE win_test_support)
set_target_properties(present_frame_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(builtin_pictures_test PRIVATE version)
