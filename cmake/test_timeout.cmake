# Every test's time limit, in seconds, multiplied by NPD_TEST_TIMEOUT_SCALE (larger where the
# tests run slowly, as under an emulator). Included by tests/CMakeLists.txt and
# tests/native/CMakeLists.txt.
set(NPD_TEST_TIMEOUT_SCALE 1 CACHE STRING "Factor applied to every test's time limit")
function(npd_set_test_timeout test seconds)
    math(EXPR scaled "${seconds} * ${NPD_TEST_TIMEOUT_SCALE}")
    set_tests_properties(${test} PROPERTIES TIMEOUT ${scaled})
endfunction()
