# Test environment for the Windows build: every test program runs under Wine
# through tools/winerun, in a private Xvfb and a private copy of one Wine prefix
# template per build tree.
#
# Include this from the top-level CMakeLists.txt of a cross build before any
# target or test is defined: CMAKE_CROSSCOMPILING_EMULATOR is read when a
# target is created.

if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
    message(FATAL_ERROR "WineTest.cmake is for the mingw-w64 cross build only")
endif()

find_program(TV_WINE wine)
find_program(TV_XVFB Xvfb)
if(NOT TV_WINE OR NOT TV_XVFB)
    message(WARNING "wine or Xvfb not found: the tests of the Windows build cannot run")
endif()

get_filename_component(tv_source_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(TV_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
set(TV_WINERUN ${tv_source_root}/tools/winerun)
set(TV_MAKE_WINE_TEMPLATE ${tv_source_root}/tools/make-wine-template)
set(TV_KEEPALIVE_EXE ${CMAKE_BINARY_DIR}/tools/tvkeepalive.exe)

add_subdirectory(${tv_source_root}/tools/keepalive ${CMAKE_BINARY_DIR}/tools/keepalive)

# A fixed path: generator expressions are not expanded in the emulator.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TV_WINERUN} --template ${TV_WINE_TEMPLATE} --keepalive ${TV_KEEPALIVE_EXE})

# The template is made once per build tree; make-wine-template rebuilds it by
# itself when the script or the installed Wine changes.
add_custom_command(
    OUTPUT ${TV_WINE_TEMPLATE}/.tv-template
    COMMAND ${TV_MAKE_WINE_TEMPLATE} ${TV_WINE_TEMPLATE}
    DEPENDS ${TV_MAKE_WINE_TEMPLATE}
    COMMENT "Creating Wine prefix template"
    VERBATIM)
add_custom_target(tv_wine_template ALL DEPENDS ${TV_WINE_TEMPLATE}/.tv-template tvkeepalive)

# Covers `ctest` after a partial build: the fixture makes sure the template
# exists (a no-op when it does) before any Wine test starts.
add_test(NAME wine.template COMMAND ${TV_MAKE_WINE_TEMPLATE} ${TV_WINE_TEMPLATE})
set_tests_properties(wine.template PROPERTIES FIXTURES_SETUP tv_wine_template TIMEOUT 300 LABELS "unit;e2e")

# Properties every Wine test needs: the template fixture, and a ctest limit above
# winerun's own (WINERUN_TIMEOUT, 600 s by default) so that winerun, not ctest,
# ends a hung program and still tears down its Xvfb and wineserver. Pass them to
# tests made elsewhere, e.g. gtest_discover_tests(... PROPERTIES ${TV_WINE_TEST_PROPERTIES}).
set(TV_WINE_TEST_PROPERTIES FIXTURES_REQUIRED tv_wine_template TIMEOUT 660)

add_test(NAME tools.winerun_user_reg
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/winerun_user_reg_test.sh ${TV_WINERUN} ${TV_WINE_TEMPLATE})
set_tests_properties(tools.winerun_user_reg PROPERTIES LABELS e2e ${TV_WINE_TEST_PROPERTIES})

# tv_add_wine_test(NAME <name> COMMAND <target> [args...] [LABEL <label>])
# Adds ctest tests that run the executable target under Wine: when the target
# has GoogleTest suites and no arguments, one test <name> for its unit suites
# and one <name>.<suite> for each end-to-end suite; else one test labelled
# LABEL (default unit).
include(${CMAKE_CURRENT_LIST_DIR}/TestSuites.cmake)
function(tv_add_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;LABEL" "COMMAND")
    if(NOT ARG_NAME OR NOT ARG_COMMAND)
        message(FATAL_ERROR "tv_add_wine_test: NAME and COMMAND are required")
    endif()
    list(GET ARG_COMMAND 0 target)
    if(NOT TARGET ${target})
        message(FATAL_ERROR "tv_add_wine_test(${ARG_NAME}): ${target} is not a target")
    endif()
    list(LENGTH ARG_COMMAND words)
    set(count 0)
    if(words EQUAL 1)
        tv_add_gtest_suites(NAME ${ARG_NAME} TARGET ${target} JOIN_UNIT RESULT count
                            PROPERTIES ${TV_WINE_TEST_PROPERTIES})
    endif()
    if(count EQUAL 0)
        if(NOT ARG_LABEL)
            set(ARG_LABEL unit)
        endif()
        add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
        set_tests_properties(${ARG_NAME} PROPERTIES LABELS ${ARG_LABEL} ${TV_WINE_TEST_PROPERTIES})
    endif()
endfunction()

# tv_add_wine_script_test(NAME <name> SCRIPT <file> [DESKTOP <WxH>] [ARGS <args>...])
# Adds a ctest test that runs a shell script in one winerun environment (its
# own Xvfb, prefix, wineserver and keep-alive); the script calls wine, xdotool
# and import itself. DESKTOP puts Wine into a virtual desktop of that size.
function(tv_add_wine_script_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;SCRIPT;DESKTOP" "ARGS")
    if(NOT ARG_NAME OR NOT ARG_SCRIPT)
        message(FATAL_ERROR "tv_add_wine_script_test: NAME and SCRIPT are required")
    endif()
    set(desktop)
    if(ARG_DESKTOP)
        set(desktop --desktop ${ARG_DESKTOP})
    endif()
    add_test(NAME ${ARG_NAME}
             COMMAND ${TV_WINERUN} --template ${TV_WINE_TEMPLATE} --keepalive ${TV_KEEPALIVE_EXE} --unix ${desktop}
                     -- ${ARG_SCRIPT} ${ARG_ARGS})
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS e2e ${TV_WINE_TEST_PROPERTIES})
endfunction()
