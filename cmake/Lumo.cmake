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

# lumo_program(<target> <sources>...)
# Every executable of the project is made here. A program exports its
# version record (LUMO_PROGRAM_VERSION_RECORD), and nothing else, so the
# run-time library finds the record by name in the running process while a
# plug-in loaded by the program never binds to the program's own functions; a
# program made otherwise shows "no version information". The check at the end
# of the top-level CMakeLists.txt refuses an executable made any other way.
set(LUMO_PROGRAM_EXPORTS ${CMAKE_CURRENT_LIST_DIR}/ProgramExports.list)
function(lumo_program target)
  add_executable(${target} ${ARGN})
  target_link_options(${target} PRIVATE "LINKER:--dynamic-list=${LUMO_PROGRAM_EXPORTS}")
  set_target_properties(${target} PROPERTIES LUMO_PROGRAM ON LINK_DEPENDS ${LUMO_PROGRAM_EXPORTS})
endfunction()

# lumo_check_programs()
# Stops the configuration when an executable of the build was not made by
# lumo_program.
function(lumo_check_programs)
  set(pending ${CMAKE_SOURCE_DIR})
  while(pending)
    list(POP_FRONT pending folder)
    get_property(children DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${children})
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(kind ${target} TYPE)
      get_target_property(made ${target} LUMO_PROGRAM)
      if(kind STREQUAL "EXECUTABLE" AND NOT made)
        message(FATAL_ERROR "${target} is an executable not made by lumo_program (cmake/Lumo.cmake)")
      endif()
    endforeach()
  endwhile()
endfunction()

# lumo_test(<target> LIBS <targets>...)
# One GoogleTest program from every .cpp file of the calling test folder.
# Each test runs in its own temporary working folder (see tests/support).
function(lumo_test target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  lumo_program(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} lumo_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "YOB_HEADLESS=1;SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
  # Listed in GoogleTestPrograms.txt, so that `make test` also runs every
  # program whole and shuffled once (see lumo_write_test_program_list).
  set_property(GLOBAL APPEND PROPERTY LUMO_TEST_PROGRAMS "$<TARGET_FILE:${target}>")
endfunction()

# Writes the build's GoogleTest programs, one path a line, to
# GoogleTestPrograms.txt in the build folder.
function(lumo_write_test_program_list)
  get_property(programs GLOBAL PROPERTY LUMO_TEST_PROGRAMS)
  list(JOIN programs "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/GoogleTestPrograms.txt CONTENT "${content}\n")
endfunction()
