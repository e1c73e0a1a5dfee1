# The example launcher page in headless Chromium (included from tests/native/CMakeLists.txt).
find_program(NPD_NODE node)
if(NPD_NODE)
    add_test(NAME launcher_page_tests
        COMMAND ${NPD_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/../page/launcher_page_test.js
                ${PROJECT_SOURCE_DIR}/examples/launcher.html
                ${CMAKE_CURRENT_SOURCE_DIR}/../page/catalogues)
    npd_set_test_timeout(launcher_page_tests 600)
    set_tests_properties(launcher_page_tests PROPERTIES SKIP_RETURN_CODE 77)
endif()
