# The native build of the Win32-free core (src/core) with the host's clang++: the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, its GoogleTest program core_tests (tests/core),
# and one libFuzzer program per folder of tests/fuzz. tools/test configures it into build/native.

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The native build needs clang++ (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

set(FERRYL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# tools/mutate builds with -O0 -g0, which compiles the tests in less than half the time.
set(FERRYL_NATIVE_FLAGS -g -O1 CACHE STRING "Optimisation and debug flags of the native build")
add_compile_options(${FERRYL_NATIVE_FLAGS} ${FERRYL_SANITIZERS})
add_link_options(${FERRYL_SANITIZERS})

function(ferryl_native_options target)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

file(GLOB FERRYL_CORE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/core/*.cpp)
add_library(ferryl_core STATIC ${FERRYL_CORE_SOURCES})
ferryl_native_options(ferryl_core)

# The tests' helpers that need no window.
add_library(ferryl_test_support STATIC ${PROJECT_SOURCE_DIR}/tests/support/mime_reader.cpp)
ferryl_native_options(ferryl_test_support)
target_include_directories(ferryl_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests)

enable_testing()
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB FERRYL_CORE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/core/*.cpp)
add_executable(core_tests ${FERRYL_CORE_TESTS})
ferryl_native_options(core_tests)
target_link_libraries(core_tests PRIVATE ferryl_core ferryl_test_support GTest::gtest_main)
add_test(NAME core_tests COMMAND core_tests)

# The fuzzers link a second copy of the core built with libFuzzer's coverage instrumentation (the
# test helpers stay without: it is the core's paths the fuzzer is to find). tools/mutate, which only
# replays the kept inputs, links them to the plain core instead.
option(FERRYL_FUZZ_COVERAGE "Fuzzers on a core built with coverage instrumentation" ON)
if(FERRYL_FUZZ_COVERAGE)
    add_library(ferryl_core_fuzzing STATIC ${FERRYL_CORE_SOURCES})
    ferryl_native_options(ferryl_core_fuzzing)
    target_compile_options(ferryl_core_fuzzing PRIVATE -fsanitize=fuzzer-no-link)
else()
    add_library(ferryl_core_fuzzing ALIAS ferryl_core)
endif()

# tests/fuzz/<name>/*.cpp becomes fuzz_<name>. A ctest test replays its inputs: seeds/ (where the
# fuzzing starts), large/ (inputs at the size limits, too slow to fuzz from) and regressions/ (the
# inputs that once failed); tools/fuzz runs it for a while.
file(GLOB FERRYL_FUZZ_FOLDERS LIST_DIRECTORIES true RELATIVE ${PROJECT_SOURCE_DIR}/tests/fuzz
     ${PROJECT_SOURCE_DIR}/tests/fuzz/*)
foreach(folder ${FERRYL_FUZZ_FOLDERS})
    set(dir ${PROJECT_SOURCE_DIR}/tests/fuzz/${folder})
    file(GLOB fuzz_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT IS_DIRECTORY ${dir} OR NOT fuzz_sources)
        continue()
    endif()
    add_executable(fuzz_${folder} ${fuzz_sources})
    ferryl_native_options(fuzz_${folder})
    target_compile_options(fuzz_${folder} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${folder} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${folder} PRIVATE ferryl_core_fuzzing ferryl_test_support)
    # Inputs named one by one: libFuzzer then runs each once and never writes into the folders.
    file(GLOB inputs ${dir}/seeds/* ${dir}/large/* ${dir}/regressions/*)
    if(inputs)
        add_test(NAME fuzz_${folder}_replay COMMAND fuzz_${folder} ${inputs})
    endif()
endforeach()
