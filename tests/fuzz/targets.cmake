# The fuzz targets: tests/fuzz/<name>_fuzz.cpp each, seeds in tests/fuzz/corpus/<name>, crash
# reproducers in tests/fuzz/crashes/<name>. Included by tests/fuzz/CMakeLists.txt (libFuzzer
# under clang) and tests/native/fuzz.cmake (replays under the sanitizer build).
set(NPD_FUZZ_TARGETS user_assist known_folders result_text script_arguments bitmap picker)
set(NPD_FUZZ_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz)
# Targets that drive the catalogue rules through the hand-made system of the catalogue tests.
set(NPD_FUZZ_CATALOGUE_SUPPORT user_assist known_folders)

# Adds the program `program` of fuzz target `name`, its entry point compiled with `main`.
function(npd_add_fuzz_program program name)
    add_executable(${program} ${NPD_FUZZ_DIR}/${name}_fuzz.cpp ${ARGN})
    if(name IN_LIST NPD_FUZZ_CATALOGUE_SUPPORT)
        target_sources(${program} PRIVATE
            ${PROJECT_SOURCE_DIR}/tests/native/catalogue/test_support.cpp)
        target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/tests/native
            ${PROJECT_SOURCE_DIR}/tests)
    endif()
    target_include_directories(${program} PRIVATE ${NPD_FUZZ_DIR})
    target_link_libraries(${program} PRIVATE npd_catalogue npd_icons npd_picker npd_script
        npd_warnings)
endfunction()
