# Shared build settings and helpers for the subsystem folders.

add_compile_options(-Wall -Wextra -ffp-contract=off)

# g++ 12 reports false -Wrestrict overlaps inside libstdc++'s string
# assignment when optimising (a known compiler fault, mended in g++ 13).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(LUMO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments every library for libFuzzer; only the fuzz
# targets themselves link the fuzzer's main.
if(LUMO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# lumo_subsystem(<target> [DEPENDS <targets>...])
# Builds every .cpp file below the calling folder (sub-folders included, unless
# they hold a CMakeLists.txt of their own) into a static library. The folder's
# parent is on the include path, so headers are included as "base/tList.h".
function(lumo_subsystem target)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  endif()
endfunction()

# lumo_test(<target> LIBS <targets>...)
# One GoogleTest program from every .cpp file of the calling test folder.
# Each test runs in its own temporary working folder (see tests/support).
function(lumo_test target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} lumo_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "YOB_HEADLESS=1;SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
endfunction()
