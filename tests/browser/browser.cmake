# The real browsers' tests (tests/browser, run by tools/test.sh, not by CTest) need one Windows
# program of their own: the user at the host's open-file dialog.
add_executable(choose_file browser/choose_file.cpp)
target_link_options(choose_file PRIVATE ${NPD_TEST_LINK_OPTIONS} -municode)
target_link_libraries(choose_file PRIVATE npd_warnings)
