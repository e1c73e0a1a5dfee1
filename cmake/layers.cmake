# One library per folder of src/, linked to exactly the folders that src/layers.txt allows it to
# include. Natively only the code that makes no Win32 call is built.

file(STRINGS ${PROJECT_SOURCE_DIR}/src/layers.txt npd_layer_lines REGEX "^[a-z_/]+:")
foreach(line ${npd_layer_lines})
    string(REGEX MATCH "^([^:]+):(.*)$" matched "${line}")
    string(STRIP "${CMAKE_MATCH_2}" allowed)
    separate_arguments(allowed)
    set(NPD_LAYER_${CMAKE_MATCH_1} ${allowed})
endforeach()

# Warnings: npd_warnings for every program of the project, npd_product_warnings for the module's
# code and its tools.
add_library(npd_warnings INTERFACE)
target_compile_options(npd_warnings INTERFACE -Wall -Wextra -Werror)
add_library(npd_product_warnings INTERFACE)
target_compile_options(npd_product_warnings INTERFACE -Wshadow -Wconversion -Wno-sign-conversion)
target_link_libraries(npd_product_warnings INTERFACE npd_warnings)

# nlohmann/json, header only. Its folder is reached through a link of its own, so that the
# cross compilers never see the build machine's /usr/include.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/json_include)
file(CREATE_LINK ${NPD_JSON_DIR} ${PROJECT_BINARY_DIR}/json_include/nlohmann SYMBOLIC)
add_library(npd_json INTERFACE)
target_include_directories(npd_json SYSTEM INTERFACE ${PROJECT_BINARY_DIR}/json_include)

# The library npd_<folder>: CORE sources, WIN32 sources (Windows builds only) and the system
# LIBRARIES they call (Windows builds only).
function(npd_add_layer folder)
    cmake_parse_arguments(arg "" "" "CORE;WIN32;LIBRARIES" ${ARGN})
    set(sources ${arg_CORE})
    if(WIN32)
        list(APPEND sources ${arg_WIN32})
    endif()
    set(target npd_${folder})
    if(sources)
        add_library(${target} STATIC ${sources})
        target_link_libraries(${target} PRIVATE npd_product_warnings)
        if(WIN32)
            # One section per function and datum, so that the module's linker leaves out what
            # nothing calls.
            target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
        endif()
        set(scope PUBLIC)
    else()
        add_library(${target} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR}/src)
    foreach(allowed ${NPD_LAYER_${folder}})
        target_link_libraries(${target} ${scope} npd_${allowed})
    endforeach()
    if(WIN32)
        target_compile_definitions(${target} ${scope}
            _WIN32_WINNT=0x0501 WINVER=0x0501 UNICODE _UNICODE)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            # System functions are called through their import library's stub, as the 32-bit
            # messaging host's delay-loaded ones must be (src/messaging_host/CMakeLists.txt).
            target_compile_definitions(${target} ${scope} DECLSPEC_IMPORT=)
        endif()
        target_link_libraries(${target} ${scope} ${arg_LIBRARIES})
    endif()
endfunction()

# Links the program `target` of the folder `folder` (named as in the table) to the libraries of
# the folders of src/ it may include; the tools' own libraries it links by name.
function(npd_link_layers target folder)
    foreach(allowed ${NPD_LAYER_${folder}})
        if(NOT allowed MATCHES "/")
            target_link_libraries(${target} PRIVATE npd_${allowed})
        endif()
    endforeach()
endfunction()
