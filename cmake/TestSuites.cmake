# One ctest entry per GoogleTest suite, so that a hang names its suite and the
# suites can run in parallel. A suite defined in a file whose name contains
# "e2e" drives the real programs and is labelled e2e; the others are unit.

# tv_gtest_suites(<target> <out-var>): "<suite>|<label>" for every suite found
# in the target's sources (TEST, TEST_F, TEST_P), each once.
function(tv_gtest_suites target out)
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    set(found)
    foreach(source ${sources})
        if(NOT source MATCHES "\\.cpp$")
            continue()
        endif()
        if(NOT IS_ABSOLUTE ${source})
            set(source ${dir}/${source})
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
        file(STRINGS ${source} lines REGEX "^TEST(_F|_P)?\\([A-Za-z0-9_]+,")
        get_filename_component(name ${source} NAME)
        set(label unit)
        if(name MATCHES "e2e")
            set(label e2e)
        endif()
        foreach(line ${lines})
            string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
            list(APPEND found "${suite}|${label}")
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES found)
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# tv_add_gtest_suites(NAME <prefix> TARGET <target> [JOIN_UNIT] [RESULT <var>]
#                     [PROPERTIES <props>...])
# Adds <prefix>.<suite> for every suite of the target. JOIN_UNIT runs the unit
# suites of the target together as one test <prefix> (where starting the
# program costs more than the suites themselves, as under Wine); e2e suites
# stay one test each. RESULT receives the number of suites found (0: the
# caller adds a plain test).
function(tv_add_gtest_suites)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "JOIN_UNIT" "NAME;TARGET;RESULT" "PROPERTIES")
    tv_gtest_suites(${ARG_TARGET} suites)
    set(joined)
    foreach(entry ${suites})
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 suite)
        list(GET parts 1 label)
        if(ARG_JOIN_UNIT AND label STREQUAL "unit")
            string(APPEND joined "${suite}.*:${suite}/*:")
            continue()
        endif()
        add_test(NAME ${ARG_NAME}.${suite} COMMAND ${ARG_TARGET} --gtest_filter=${suite}.*:${suite}/*)
        set_tests_properties(${ARG_NAME}.${suite} PROPERTIES LABELS ${label} ${ARG_PROPERTIES})
    endforeach()
    if(joined)
        add_test(NAME ${ARG_NAME} COMMAND ${ARG_TARGET} --gtest_filter=${joined})
        set_tests_properties(${ARG_NAME} PROPERTIES LABELS unit ${ARG_PROPERTIES})
    endif()
    list(LENGTH suites count)
    if(ARG_RESULT)
        set(${ARG_RESULT} ${count} PARENT_SCOPE)
    endif()
endfunction()
