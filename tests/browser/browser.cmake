# Windows programs of the real browsers' tests (tests/browser, run by tools/test.sh, not by
# CTest): the user at the host's open-file dialog, and the job Firefox on Windows starts the host in.
foreach(program choose_file in_job)
    add_executable(${program} browser/${program}.cpp)
    target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_options(${program} PRIVATE ${NPD_TEST_LINK_OPTIONS} -municode)
    target_link_libraries(${program} PRIVATE npd_warnings)
endforeach()
