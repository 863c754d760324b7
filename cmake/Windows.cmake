# Cross build: every deliverable and every test, the tests run under Wine.
enable_language(RC)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall> $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra>)
add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)

include(cmake/WineTest.cmake)

# Every .rc file includes tvversion.h for its VERSIONINFO block.
configure_file(${CMAKE_SOURCE_DIR}/cmake/tvversion.h.in ${CMAKE_BINARY_DIR}/generated/tvversion.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

add_library(tvcore STATIC ${TV_CORE_SOURCES} ${CMAKE_SOURCE_DIR}/common/platform_win.cpp)
target_include_directories(tvcore PUBLIC ${TV_INCLUDE_DIRS})

add_library(tvwin STATIC ${TV_WIN_SOURCES})
target_link_libraries(tvwin PUBLIC tvcore shlwapi shell32 ole32 uuid comctl32 comdlg32 version advapi32 user32 gdi32)

add_executable(tvcore_tests ${TV_CORE_TESTS})
target_include_directories(tvcore_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tvcore_tests PRIVATE tvcore gtest_main)
# Under Wine the portable tests run for what differs there: files through the
# Win32 platform layer, 32-bit long, the C runtime's formatting. Suites of pure
# text and list logic gain nothing from a second run and stay on the host.
set(TV_HOST_ONLY_SUITES AgentRequests MMapMsg PtrList PtrTree TagName PropertyValue Time DateDiffDays
    CompareSystemTimes LaunchAction PathParts DirUtils KeysFileLine LineBlock RecentFiles)
list(TRANSFORM TV_HOST_ONLY_SUITES APPEND ".*")
list(JOIN TV_HOST_ONLY_SUITES ":" tv_host_only)
tv_add_wine_test(NAME wine.core_tests COMMAND tvcore_tests --gtest_filter=-${tv_host_only})

if(TV_WIN_TESTS)
    add_executable(tvwin_tests ${TV_WIN_TESTS})
    target_include_directories(tvwin_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(tvwin_tests PRIVATE tvwin gtest_main)
    tv_add_wine_test(NAME wine.win32_tests COMMAND tvwin_tests)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/wine-selftest/CMakeLists.txt)
    add_subdirectory(tools/wine-selftest)
endif()

# Programs that only tests use (test driver, target application, channel
# peers): tests/support/<name>/CMakeLists.txt.
file(GLOB TV_SUPPORT_DIRS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*/CMakeLists.txt)
foreach(list ${TV_SUPPORT_DIRS})
    get_filename_component(dir ${list} DIRECTORY)
    add_subdirectory(${dir})
endforeach()

# tv_lean_image(<target> <dll>_delay.def...): a program that starts fast and
# keeps its private bytes down. Its sections start on page boundaries in the
# file (Wine maps them instead of reading them into private memory), and each
# DLL named by a .def file is bound at the first call of one of its functions
# instead of at start. The delay-load import library carries the DLL's own
# name and is found before the system's, so a function the .def lacks fails
# the link rather than binding at start. The test <target>.image_layout
# checks the built program.
function(tv_lean_image target)
    target_link_options(${target} PRIVATE LINKER:--file-alignment=4096)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_delayload)
    set(libs)
    set(dlls)
    foreach(def ${ARGN})
        get_filename_component(stem ${def} NAME_WE)
        string(REGEX REPLACE "_delay$" "" dll ${stem})
        set(lib ${dir}/lib${dll}.a)
        add_custom_command(OUTPUT ${lib}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
            COMMAND ${TV_MINGW_TRIPLE}-dlltool -d ${def} -D ${dll}.dll -y ${lib}
            DEPENDS ${def} VERBATIM)
        list(APPEND libs ${lib})
        list(APPEND dlls ${dll})
    endforeach()
    add_custom_target(${target}_delayload DEPENDS ${libs})
    add_dependencies(${target} ${target}_delayload)
    target_link_directories(${target} BEFORE PRIVATE ${dir})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libs})
    # The built image: page-aligned sections, none of these DLLs imported at start.
    add_test(NAME ${target}.image_layout
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/image_layout.sh $<TARGET_FILE:${target}> ${dlls})
endfunction()

# Programs and libraries of the suite, each in its own folder, all landing in
# ${CMAKE_BINARY_DIR}/bin as they will be installed.
foreach(dir firstrun tips interpreter agent scheduler menuint menuedit editor)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
        add_subdirectory(${dir})
    endif()
endforeach()

# Timing drivers that the scripts in bench/ run under Wine.
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
endif()

# The help file, and the installer and portable zip of all the above.
add_subdirectory(help)
add_subdirectory(installer)
