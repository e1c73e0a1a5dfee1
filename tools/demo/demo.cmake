# The demo's browser (included from tests/CMakeLists.txt, beside the test programs it shares
# the NPAPI host and the demo programs with).
add_executable(demo_host ${PROJECT_SOURCE_DIR}/tools/demo/demo_host.cpp ${NPD_TEST_MANIFEST_RC})
target_link_libraries(demo_host PRIVATE nphost_lib)
target_link_options(demo_host PRIVATE ${NPD_TEST_LINK_OPTIONS} -municode)
target_compile_options(demo_host PRIVATE -Wall -Wextra -Werror)
add_dependencies(demo_host npDesklaunch marker_program atlas_program ledger_program sketch_program)
