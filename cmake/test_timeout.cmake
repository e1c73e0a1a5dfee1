# Every test's time limit, in seconds, multiplied by NPD_TEST_TIMEOUT_SCALE (larger where the
# tests run slowly, as under an emulator). Included by tests/CMakeLists.txt and
# tests/native/CMakeLists.txt.
set(NPD_TEST_TIMEOUT_SCALE 1 CACHE STRING "Factor applied to every test's time limit")
function(npd_set_test_timeout test seconds)
    math(EXPR scaled "${seconds} * ${NPD_TEST_TIMEOUT_SCALE}")
    set_tests_properties(${test} PROPERTIES TIMEOUT ${scaled})
endfunction()

# Gives every test of the calling directory that has no time limit yet `seconds` (scaled).
function(npd_set_default_test_timeouts seconds)
    get_property(tests DIRECTORY PROPERTY TESTS)
    foreach(test ${tests})
        get_test_property(${test} TIMEOUT timeout)
        if(NOT timeout)
            npd_set_test_timeout(${test} ${seconds})
        endif()
    endforeach()
endfunction()
