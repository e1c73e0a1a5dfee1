# Windows tests of the icons subsystem (included from tests/CMakeLists.txt).

# Test icons with known pixels, made on the build machine by icon_maker, each held by a carrier
# program as its first icon.
find_program(NPD_HOST_CXX NAMES g++ c++ PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/test_icons)
set(icon_names alpha classic invert small large png mono)
set(icon_outputs)
foreach(name ${icon_names})
    list(APPEND icon_outputs ${icon_dir}/${name}.ico ${icon_dir}/carrier_${name}.rc)
endforeach()
add_custom_command(OUTPUT ${icon_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
    COMMAND ${NPD_HOST_CXX} -std=c++17 -O1 -Wall -Wextra -Werror -o ${icon_dir}/icon_maker
        ${CMAKE_CURRENT_SOURCE_DIR}/win/icons/icon_maker.cpp
    COMMAND ${icon_dir}/icon_maker ${icon_dir}
    DEPENDS win/icons/icon_maker.cpp win/icons/icon_patterns.h win/test_bytes.h
    COMMENT "Making the test icons")
# One target makes them; the carriers wait for it rather than each running the rule.
add_custom_target(test_icons DEPENDS ${icon_outputs})
set(icon_carriers)
foreach(name ${icon_names} none)
    set(carrier_rc)
    if(NOT name STREQUAL "none")
        set(carrier_rc ${icon_dir}/carrier_${name}.rc)
        set_source_files_properties(${carrier_rc} PROPERTIES
            GENERATED TRUE OBJECT_DEPENDS ${icon_dir}/${name}.ico)
    endif()
    add_executable(icon_carrier_${name} win/icons/icon_carrier.c ${carrier_rc})
    add_dependencies(icon_carrier_${name} test_icons)
    list(APPEND icon_carriers icon_carrier_${name})
endforeach()

npd_add_test_program(icon_tests
    win/test_main.cpp
    win/icons/icon_test_support.cpp
    win/icons/bitmap_file_test.cpp
    win/icons/icon_bitmap_test.cpp
    win/icons/icon_lookup_test.cpp
)
target_link_libraries(icon_tests PRIVATE npd_icons)
target_include_directories(icon_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win/icons
    ${CMAKE_CURRENT_SOURCE_DIR}/win)
add_dependencies(icon_tests ${icon_carriers})
add_test(NAME icon_tests COMMAND icon_tests)
npd_set_test_timeout(icon_tests 300)
set_tests_properties(icon_tests PROPERTIES FIXTURES_SETUP icon_files)

# A standard image tool shows a stored bitmap upright: ImageMagick on the build machine converts
# the one that icon_tests left in icon_output to PNG and the PNG's pixels are compared.
find_program(NPD_IMAGE_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME icon_image_tool
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/win/icons/check_upright.sh ${NPD_IMAGE_CONVERT}
        ${PROJECT_BINARY_DIR}/icon_output/icon_carrier_alpha.bmp
        ${PROJECT_BINARY_DIR}/icon_output/icon_carrier_alpha.rgba)
npd_set_test_timeout(icon_image_tool 60)
# It runs on the build machine, not on Windows: a run on another machine (the emulated guest)
# leaves out the label build_machine and runs such tests on the build machine afterwards.
set_tests_properties(icon_image_tool PROPERTIES FIXTURES_REQUIRED icon_files LABELS build_machine)

# Medians of storing icons (make bench); built, never run by the tests.
add_executable(icon_bench win/icons/icon_bench.cpp win/icons/icon_test_support.cpp
    ${NPD_TEST_MANIFEST_RC})
target_link_libraries(icon_bench PRIVATE npd_icons nphost_lib npd_warnings ole32 uuid shell32)
target_include_directories(icon_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/win/icons)
target_link_options(icon_bench PRIVATE ${NPD_TEST_LINK_OPTIONS})
target_link_libraries(icon_bench PRIVATE npd_warnings)
