# Replays of the fuzzers' corpora and crash reproducers as ordinary tests: each target's entry
# point built by this compiler with its sanitizers and fed every committed input, so that no run
# needs clang or fuzzing time.
include(${PROJECT_SOURCE_DIR}/tests/fuzz/targets.cmake)
foreach(name ${NPD_FUZZ_TARGETS})
    npd_add_fuzz_program(${name}_replay ${name} ${NPD_FUZZ_DIR}/replay_main.cpp)
    add_test(NAME fuzz_replay_${name}
        COMMAND ${name}_replay ${NPD_FUZZ_DIR}/corpus/${name} ${NPD_FUZZ_DIR}/crashes/${name})
    npd_set_test_timeout(fuzz_replay_${name} 60)
endforeach()
