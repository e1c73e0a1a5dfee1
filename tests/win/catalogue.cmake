# Windows tests of the catalogue subsystem (included from tests/CMakeLists.txt).

# Programs whose version resources the product-name tests read, and one without any.
set(catalogue_version_programs)
foreach(name my_tool german_only german_first empty_name none)
    set(sources win/catalogue/version_program.cpp)
    if(NOT name STREQUAL "none")
        list(APPEND sources win/catalogue/version_${name}.rc)
    endif()
    add_executable(version_${name} ${sources})
    target_link_options(version_${name} PRIVATE ${NPD_TEST_LINK_OPTIONS})
    list(APPEND catalogue_version_programs version_${name})
endforeach()

# The catalogue code linked in: real registry keys, files, shortcuts and version resources.
npd_add_test_program(catalogue_tests
    win/test_main.cpp
    win/catalogue/system_fixture.cpp
    win/catalogue/app_identity_test.cpp
    win/catalogue/catalogue_paths_test.cpp
    win/catalogue/known_folders_test.cpp
    win/catalogue/usage_history_test.cpp
)
target_include_directories(catalogue_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win)
target_link_libraries(catalogue_tests PRIVATE npd_catalogue npd_icons)
add_dependencies(catalogue_tests ${catalogue_version_programs})
add_test(NAME catalogue_tests COMMAND catalogue_tests)
npd_set_test_timeout(catalogue_tests 180)

# The history diagnostic runs and prints its list on this prefix's (empty) history.
add_test(NAME history_tool COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:history> nt6)
npd_set_test_timeout(history_tool 60)
set_tests_properties(history_tool PROPERTIES PASS_REGULAR_EXPRESSION "Records, most used first")

# Figures of the reader's speed (run by hand under tools/wine-session.sh; not a test).
add_executable(history_bench win/catalogue/history_bench.cpp win/catalogue/system_fixture.cpp)
target_include_directories(history_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win)
target_link_libraries(history_bench PRIVATE npd_catalogue gtest npd_warnings)
target_link_options(history_bench PRIVATE ${NPD_TEST_LINK_OPTIONS})
target_link_libraries(history_bench PRIVATE npd_warnings)

# RecentlyApplications end to end, once per OS family (named for Wine's version settings).
npd_add_test_program(catalogue_e2e_tests
    win/test_main.cpp win/family_fixture.cpp win/catalogue_e2e_test.cpp)
target_compile_definitions(catalogue_e2e_tests PRIVATE
    NPD_PAGE_CATALOGUES="${PROJECT_SOURCE_DIR}/tests/page/catalogues")
add_dependencies(catalogue_e2e_tests marker_program sketch_program bare_program)
npd_add_version_copies(catalogue_e2e_tests catalogue_e2e_ 600 winxp=3 win7=4)

# Benchmark of RecentlyApplications (run by make bench, not by CTest).
npd_add_test_program(catalogue_bench win/catalogue_bench.cpp)
target_link_libraries(catalogue_bench PRIVATE npd_app)
target_link_options(catalogue_bench PRIVATE -municode)
add_dependencies(catalogue_bench marker_program)
