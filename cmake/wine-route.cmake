# How Wine runs this build's programs (WINE_ROUTE, for tests/harness). The
# scripts pass the route that tests/harness/wine-route chose; a build
# configured by hand asks it the same question. An x86-64 build runs only
# under wine64.
set(WINE_HARNESS ${CMAKE_SOURCE_DIR}/tests/harness)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(WINE_ROUTE win64)
elseif(NOT WINE_ROUTE)
    execute_process(COMMAND bash -c ". '${WINE_HARNESS}/wine-route' && wine_route_choose && echo $WINE_ROUTE"
        OUTPUT_VARIABLE chosen_route OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(WINE_ROUTE ${chosen_route} CACHE STRING "How Wine runs this build: native32, emulated32 or win64")
endif()
message(STATUS "Windows programs run by the ${WINE_ROUTE} route")
