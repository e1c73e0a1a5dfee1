# Faults of the machine around the module: folders, locks, full disks, corrupt files.

# Carrier programs of damaged resources: damaged_maker spoils copies of a good icon and of a good
# version resource on the build machine, the resource compiler puts each into a program.
set(damaged_dir ${CMAKE_CURRENT_BINARY_DIR}/damaged)
set(damaged_names icon_cut icon_header icon_huge icon_noise icon_png version_good version_noise
    version_overlong version_cut version_unterminated version_no_translation version_zero_child)
set(damaged_outputs)
foreach(name ${damaged_names})
    list(APPEND damaged_outputs ${damaged_dir}/${name}.rc)
endforeach()
add_custom_command(OUTPUT ${damaged_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${damaged_dir}
    COMMAND ${NPD_HOST_CXX} -std=c++17 -O1 -Wall -Wextra -Werror -o ${damaged_dir}/damaged_maker
        ${CMAKE_CURRENT_SOURCE_DIR}/win/faults/damaged_maker.cpp
    COMMAND ${damaged_dir}/damaged_maker ${PROJECT_SOURCE_DIR}/tools/demo/icons/marker.ico
        ${damaged_dir}
    DEPENDS win/faults/damaged_maker.cpp win/test_bytes.h
        ${PROJECT_SOURCE_DIR}/tools/demo/icons/marker.ico
    COMMENT "Damaging copies of an icon and a version resource")
add_custom_target(damaged_resources DEPENDS ${damaged_outputs})
set(damaged_programs)
foreach(name ${damaged_names})
    set_source_files_properties(${damaged_dir}/${name}.rc PROPERTIES GENERATED TRUE)
    add_executable(damaged_${name} win/icons/icon_carrier.c ${damaged_dir}/${name}.rc)
    add_dependencies(damaged_${name} damaged_resources)
    list(APPEND damaged_programs damaged_${name})
endforeach()

# Holds a file open without sharing, as another program may.
add_executable(file_holder win/faults/file_holder.c)
target_link_options(file_holder PRIVATE ${NPD_TEST_LINK_OPTIONS} -municode)

npd_add_test_program(faults_tests win/test_main.cpp win/faults_test.cpp)
target_link_libraries(faults_tests PRIVATE npd_app)
add_dependencies(faults_tests file_holder marker_program ${damaged_programs})
add_test(NAME faults_tests COMMAND faults_tests --gtest_filter=-SmallDisk*)
npd_set_test_timeout(faults_tests 240)
# The small disks are mounted for the run: as root here and in the x86 guest; skipped where
# mounting is not allowed.
add_test(NAME faults_disk_tests
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/win/faults/small_disks.sh
        $<TARGET_FILE:npDesklaunch> $<TARGET_FILE:faults_tests> --gtest_filter=SmallDisk*)
npd_set_test_timeout(faults_disk_tests 120)
set_tests_properties(faults_disk_tests PROPERTIES SKIP_RETURN_CODE 77)
