# Windows tests of the catalogue subsystem (included from tests/CMakeLists.txt).

# RecentlyApplications end to end, once per OS family (named for Wine's version settings).
npd_add_test_program(catalogue_e2e_tests
    win/test_main.cpp win/family_fixture.cpp win/catalogue_e2e_test.cpp)
target_compile_definitions(catalogue_e2e_tests PRIVATE
    NPD_PAGE_CATALOGUES="${PROJECT_SOURCE_DIR}/tests/page/catalogues")
add_dependencies(catalogue_e2e_tests marker_program sketch_program bare_program)
foreach(entry "winxp;3" "win7;4")
    list(GET entry 0 version)
    list(GET entry 1 family)
    set(copy ${PROJECT_BINARY_DIR}/catalogue_e2e_${version}.exe)
    add_custom_command(TARGET catalogue_e2e_tests POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:catalogue_e2e_tests> ${copy})
    add_test(NAME catalogue_e2e_${version}
        COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${copy} --expected-family=${family})
    set_tests_properties(catalogue_e2e_${version} PROPERTIES TIMEOUT 600)
endforeach()
