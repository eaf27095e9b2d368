# vibralon_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib... LABELS unit|integration|e2e|gui
#                    [ENVIRONMENT VAR=value...] [TIMEOUT seconds] [NO_MAIN])
# Labels let ./test pick what each sanitizer build runs.
function(vibralon_add_gtest name)
    cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    find_package(GTest REQUIRED)
    add_executable(${name} ${T_SOURCES})
    vibralon_warnings(${name})
    if(T_NO_MAIN)
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE
        VIBRALON_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VIBRALON_BINARY_DIR="${PROJECT_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT})
    if(T_ENVIRONMENT)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
endfunction()

# vibralon_on_pipewire_too(NAME COMMAND...): adds NAME_pipewire, which runs COMMAND against a
# private PipeWire server where NAME has PulseAudio (tests/support/pulse starts whichever
# VIBRALON_TEST_SOUND_SERVER names), with NAME's labels and time limit and the label
# "pipewire": our code is the same on either server, so the sanitizer builds run NAME alone.
function(vibralon_on_pipewire_too name)
    get_test_property(${name} LABELS labels)
    get_test_property(${name} TIMEOUT timeout)
    add_test(NAME ${name}_pipewire COMMAND ${ARGN})
    set_tests_properties(${name}_pipewire PROPERTIES LABELS "${labels};pipewire"
                         TIMEOUT ${timeout} ENVIRONMENT VIBRALON_TEST_SOUND_SERVER=pipewire)
endfunction()
