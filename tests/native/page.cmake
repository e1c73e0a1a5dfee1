# The example launcher page in headless Chromium, the page library and the browser extension
# with Node's own test runner (included from tests/native/CMakeLists.txt).
find_program(NPD_NODE node)
if(NPD_NODE)
    add_test(NAME launcher_page_tests
        COMMAND ${NPD_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/../page/launcher_page_test.js
                ${PROJECT_SOURCE_DIR}/examples/launcher.html
                ${CMAKE_CURRENT_SOURCE_DIR}/../page/catalogues)
    npd_set_test_timeout(launcher_page_tests 600)
    set_tests_properties(launcher_page_tests PROPERTIES SKIP_RETURN_CODE 77)
    add_test(NAME page_library_tests
        COMMAND ${NPD_NODE} --test ${PROJECT_SOURCE_DIR}/web/desklaunch/test/desklaunch_test.mjs)
    add_test(NAME extension_tests
        COMMAND ${NPD_NODE} --test ${PROJECT_SOURCE_DIR}/extension/test/extension_test.mjs)
    npd_set_test_timeout(page_library_tests 60)
    npd_set_test_timeout(extension_tests 60)
endif()
