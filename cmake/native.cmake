# The parts that need no Win32, built for Linux so they can run under the
# sanitizers and the fuzzer: the embedded-picture selection (the ID3v2 walker,
# FLAC records, Ogg comments), its tests, the apic-extract tool, the fuzz
# targets and the extraction benchmark.
find_package(GTest REQUIRED)
add_compile_options(-Wall -Wextra)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

include(cmake/picture_sources.cmake)
set(WALKER_SOURCES ${PICTURE_SELECTION_SOURCES})
set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The walker as the product builds it, for the benchmark.
add_library(id3v2_walker STATIC ${WALKER_SOURCES})
target_include_directories(id3v2_walker PUBLIC ${CMAKE_SOURCE_DIR})

# The same walker under ASan and UBSan: any read past a block ends the test.
add_library(id3v2_walker_checked STATIC ${WALKER_SOURCES})
target_include_directories(id3v2_walker_checked PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(id3v2_walker_checked PUBLIC ${SANITIZERS})
target_link_options(id3v2_walker_checked PUBLIC ${SANITIZERS})

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*_test.cpp)
if(NATIVE_TESTS)
    add_executable(native_tests ${NATIVE_TESTS})
    target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(native_tests PRIVATE id3v2_walker_checked GTest::gtest_main)
    add_test(NAME native_tests COMMAND native_tests)
endif()

# The stand-in's format readers, which apic-extract serves files with, under the sanitizers too.
add_subdirectory(standin/bass)
target_compile_options(bass_formats PRIVATE ${SANITIZERS})
add_subdirectory(tools)

# Real tags written by real taggers, read back through apic-extract.
add_test(NAME tagger_pictures
    COMMAND ${CMAKE_SOURCE_DIR}/tests/taggers/check-tagger-pictures
        $<TARGET_FILE:apic-extract> ${CMAKE_BINARY_DIR}/tagger-work)
set_tests_properties(tagger_pictures PROPERTIES TIMEOUT 300)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # One target a reader: the walker over an exactly sized block, the tag
    # served as the audio library serves it (a bare pointer, the masked length
    # held), the walk that accepts UTF-16 and UTF-8 APIC frames, the Ogg
    # picture comments (base64 and block), and the containers read from the
    # file itself (MP4, ASF, APEv2, RIFF and IFF). The test command gives them
    # one budget, split evenly; each fuzzes a copy of its seeds, which
    # libFuzzer runs first, so the committed corpus never grows.
    set(FUZZ_BUDGET_SECONDS 240 CACHE STRING "Seconds of fuzzing for all targets together in the test command")
    set(id3v2_seeds corpus id3v2.dict)
    set(served_tag_seeds corpus id3v2.dict)
    set(unicode_apic_seeds corpus id3v2.dict)
    set(ogg_picture_seeds ogg-corpus ogg.dict)
    set(CONTAINER_FUZZ_TARGETS mp4 asf ape riff)
    set(FUZZ_TARGETS id3v2 served_tag unicode_apic ogg_picture ${CONTAINER_FUZZ_TARGETS})
    list(LENGTH FUZZ_TARGETS fuzz_target_count)
    math(EXPR FUZZ_SECONDS "${FUZZ_BUDGET_SECONDS} / ${fuzz_target_count}")
    foreach(target ${FUZZ_TARGETS})
        if(target IN_LIST CONTAINER_FUZZ_TARGETS)
            add_executable(${target}_fuzzer tests/fuzz/container_fuzzer.cpp ${WALKER_SOURCES})
            string(TOUPPER ${target} container)
            target_compile_definitions(${target}_fuzzer PRIVATE CONTAINER_${container})
            set(${target}_seeds ${target}-corpus container.dict)
        else()
            add_executable(${target}_fuzzer tests/fuzz/${target}_fuzzer.cpp ${WALKER_SOURCES})
        endif()
        target_include_directories(${target}_fuzzer PRIVATE ${CMAKE_SOURCE_DIR})
        target_compile_options(${target}_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
        target_link_options(${target}_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
        add_test(NAME ${target}_fuzz
            COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run-fuzzer $<TARGET_FILE:${target}_fuzzer>
                ${CMAKE_SOURCE_DIR}/tests/fuzz ${CMAKE_BINARY_DIR}/${target}-fuzz-work ${FUZZ_SECONDS} ${${target}_seeds})
        set_tests_properties(${target}_fuzz PROPERTIES TIMEOUT 180 LABELS fuzz)
    endforeach()
else()
    message(STATUS "Not clang: the fuzz target is left out")
endif()

# Reading a cover far from a file's start (prints reads, bytes and time).
add_executable(container_bench bench/container_bench.cpp)
target_link_libraries(container_bench PRIVATE id3v2_walker)

find_package(benchmark QUIET)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(TAGLIB QUIET IMPORTED_TARGET taglib)
endif()
if(benchmark_FOUND AND TAGLIB_FOUND)
    add_executable(extraction_bench bench/extraction_bench.cpp)
    target_link_libraries(extraction_bench PRIVATE id3v2_walker benchmark::benchmark PkgConfig::TAGLIB)
else()
    message(STATUS "Google Benchmark or TagLib missing: the extraction benchmark is left out")
endif()
# The committed pictures are exactly what their generator draws (decoded
# pixels, so another zlib does not matter).
add_test(NAME builtin_theme_pictures COMMAND ${CMAKE_SOURCE_DIR}/scripts/draw-pictures builtin --check)
add_test(NAME bundled_themes_drawn COMMAND ${CMAKE_SOURCE_DIR}/scripts/draw-pictures themes --check)
add_test(NAME example_theme_drawn COMMAND ${CMAKE_SOURCE_DIR}/scripts/draw-pictures slate --check)
add_test(NAME kit_sample_cover_drawn COMMAND ${CMAKE_SOURCE_DIR}/scripts/draw-pictures kit --check)
