# The release zip, laid out as it goes into the player's plug-in folder. Built
# on demand (scripts/package; the installed-package test): it takes the commit
# time from RELEASE_EPOCH, so it is made afresh every time it is asked for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(RELEASE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)  # the x86-64 twin's, never shipped
else()
    set(RELEASE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
endif()
set(RELEASE_ZIP ${CMAKE_BINARY_DIR}/release/${RELEASE_NAME}.zip)

set(RELEASE_INPUTS --plugin $<TARGET_FILE:coverdeck> --kit $<TARGET_FILE:coverdeck-theme> --strip ${CMAKE_STRIP}
    --themes ${CMAKE_SOURCE_DIR}/themes --readme ${CMAKE_SOURCE_DIR}/release/README.txt)
add_custom_target(release_zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
    COMMAND python3 ${CMAKE_SOURCE_DIR}/release/make_package.py --out ${RELEASE_ZIP} ${RELEASE_INPUTS}
    DEPENDS coverdeck coverdeck-theme
    VERBATIM)

if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_test(NAME release_reproducible COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check-reproducible
        ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${RELEASE_ZIP} ${CMAKE_BINARY_DIR}/reproducible)
    set_tests_properties(release_reproducible PROPERTIES LABELS release TIMEOUT 900)
endif()

# The installed-package test runs the plug-in from the unpacked zip, in a folder
# named the way players live under "Program Files (x86)".
set(RELEASE_INSTALL_DIR "${CMAKE_BINARY_DIR}/install test/Program Files (x86)/Quaver プレーヤー/Plugins")
add_test(NAME release_install COMMAND ${CMAKE_SOURCE_DIR}/tests/release/install-release
    ${CMAKE_BINARY_DIR} ${RELEASE_ZIP} ${RELEASE_INSTALL_DIR})
set_tests_properties(release_install PROPERTIES FIXTURES_SETUP release_installed LABELS release)
set_tests_properties(installed_package_e2e_test PROPERTIES FIXTURES_REQUIRED "wine;release_installed")
target_compile_definitions(installed_package_e2e_test PRIVATE INSTALLED_DIR="${RELEASE_INSTALL_DIR}")
