# Native build: the portable half and its tests under AddressSanitizer and
# UBSan, the fuzz targets and the benchmark.
set(TV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g)

add_library(tvcore STATIC ${TV_CORE_SOURCES} ${CMAKE_SOURCE_DIR}/common/platform_posix.cpp)
target_include_directories(tvcore PUBLIC ${TV_INCLUDE_DIRS})
target_compile_options(tvcore PUBLIC ${TV_SANITIZE})
target_link_options(tvcore PUBLIC ${TV_SANITIZE})

add_executable(tvcore_tests ${TV_CORE_TESTS})
target_include_directories(tvcore_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tvcore_tests PRIVATE tvcore gtest_main)
include(${CMAKE_SOURCE_DIR}/cmake/TestSuites.cmake)
tv_add_gtest_suites(NAME host TARGET tvcore_tests)

# The same code without sanitizers, for measuring speed.
add_library(tvcore_fast STATIC ${TV_CORE_SOURCES} ${CMAKE_SOURCE_DIR}/common/platform_posix.cpp)
target_include_directories(tvcore_fast PUBLIC ${TV_INCLUDE_DIRS})
target_compile_options(tvcore_fast PRIVATE -O2)

if(EXISTS ${CMAKE_SOURCE_DIR}/fuzz/CMakeLists.txt)
    add_subdirectory(fuzz)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
endif()

# The build's own tools: every command the scripts call comes from a package
# that tools/install-deps installs.
add_test(NAME tools.check_deps COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/check_deps_test.sh)
set_tests_properties(tools.check_deps PROPERTIES LABELS tools)
