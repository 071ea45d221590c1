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

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The product: every folder adds its sources to the core library, which the
# plug-in, the tests, the benchmark and the theme kit link; host/ makes the DLL.
add_library(coverdeck_core STATIC)
target_include_directories(coverdeck_core PUBLIC ${CMAKE_SOURCE_DIR})
# uuid is a static library of interface and class ids (WIC's among them), not a DLL.
target_link_libraries(coverdeck_core PUBLIC gdiplus ole32 uuid shlwapi user32 gdi32 kernel32)
foreach(folder state cover render window resources host)
    add_subdirectory(${folder})
endforeach()

add_subdirectory(helpers)
add_subdirectory(standin/bass)
add_subdirectory(samplehost)
add_subdirectory(tools)
include(cmake/wine-tests.cmake)
include(cmake/release.cmake)

add_subdirectory(bench)
target_link_libraries(builtin_pictures_test PRIVATE version)
