# Programs that record that they were started, each with an icon of its own, and one without
# any icon: the launcher and catalogue tests and the demo copy them under the names their usage
# histories need.
foreach(program marker atlas ledger sketch bare)
    if(program STREQUAL "bare")
        add_executable(${program}_program WIN32 host/marker_program.cpp)
    else()
        add_executable(${program}_program WIN32 host/marker_program.cpp host/${program}_program.rc)
    endif()
    target_include_directories(${program}_program PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(${program}_program PRIVATE UNICODE _UNICODE)
    target_link_libraries(${program}_program PRIVATE npd_warnings)
    target_link_options(${program}_program PRIVATE ${NPD_TEST_LINK_OPTIONS} -municode)
endforeach()
