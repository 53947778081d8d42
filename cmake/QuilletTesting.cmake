# GoogleTest for both builds: the host uses the system package, the Windows
# build compiles the packaged sources with the cross compiler.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(QUILLET_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUILLET_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# Tests are compiled without optimisation: they run in seconds either way,
# and optimising them was most of the build's time. The code under test keeps
# the build type's flags.
macro(quillet_unoptimised_tests)
  add_compile_options($<IF:$<CXX_COMPILER_ID:MSVC>,/Od,-O0>)
endmacro()

# MinGW needs to be told what MSVC sees by itself: a console program, and a
# wmain/wWinMain entry point.
function(quillet_console target)
  if(MINGW)
    target_link_options(${target} PRIVATE -mconsole)
  endif()
endfunction()
function(quillet_wide_entry target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# Under Wine a crash ends in the debugger's dump, and the exit code Wine then
# reports is not always an error's: the dump's first line fails the test.
set(QUILLET_CRASH_OUTPUT "wine: Unhandled")

# quillet_add_gtest(<target> SOURCES ... [LIBS ...] [LABELS ...])
# One test executable; its cases are discovered when ctest runs, so the
# Windows ones are listed through the Wine emulator at test time.
function(quillet_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  if(WIN32)
    quillet_console(${target})
  endif()
  if(CMAKE_CROSSCOMPILING AND NOT ARG_LABELS STREQUAL "wine")
    # The core's cases under Wine: one process for all of them, since a Wine
    # start costs more than most cases. Natively every case is its own test.
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300
                         FAIL_REGULAR_EXPRESSION "${QUILLET_CRASH_OUTPUT}")
  else()
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300
                 FAIL_REGULAR_EXPRESSION "${QUILLET_CRASH_OUTPUT}")
  endif()
endfunction()
