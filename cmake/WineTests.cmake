# The win32 preset's tests: the same GoogleTest programs as the native build, cross-built for
# i686 and run by ctest under 32-bit Wine (label `wine`). Needs Debian's GoogleTest sources and
# Wine (scripts/install-deps.sh); test.sh runs the tests inside Xvfb.

# GoogleTest built from source with the cross compiler, under the names FindGTest gives natively.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()

find_program(TOLV_WINE wine)
if(NOT TOLV_WINE)
  message(WARNING "wine not found: the win32 tests are not registered (run scripts/install-deps.sh)")
  set(TOLV_WINE_TESTS OFF)
  return()
endif()
set(TOLV_WINE_TESTS ON)

# Some kernels run 64-bit programs only (32-bit emulation switched off): 32-bit Wine then cannot
# start at all. The test programs are still built, so the Windows code is compiled and linked,
# but no prefix is made; scripts/test.sh says that the Wine run was skipped and why.
execute_process(COMMAND ${TOLV_WINE} --version RESULT_VARIABLE wine_status OUTPUT_QUIET ERROR_QUIET
                TIMEOUT 60)
if(wine_status EQUAL 0)
  set(TOLV_WINE_RUNS ON)
else()
  set(TOLV_WINE_RUNS OFF)
  message(WARNING "wine does not start on this machine (${wine_status}): the win32 tests are built, not run")
endif()

# One prefix per build tree, made once by the build (and by the first test if it was removed).
set(TOLV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(TOLV_WINE_RUNS)
  add_custom_command(
    OUTPUT ${TOLV_WINE_PREFIX}/.tolv-ready
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${TOLV_WINE_PREFIX}
    COMMENT "Preparing the Wine prefix"
    VERBATIM)
  add_custom_target(wine_prefix ALL DEPENDS ${TOLV_WINE_PREFIX}/.tolv-ready)
endif()

# Every test program, and its test discovery, runs through the Wine wrapper.
set(TOLV_WINE_RUNNER ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLV_WINE_RUNNER} ${TOLV_WINE_PREFIX})

# Discovery at test time, not build time, and every discovered test labelled `wine`. A run that
# selects no test at all fails instead of passing empty.
set(TOLV_GTEST_DISCOVERY_ARGS
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS wine FAIL_REGULAR_EXPRESSION "\\[==========\\] 0 tests from")

# Recordings are read through Wine's Z: drive, which maps the Linux root.
cmake_path(ABSOLUTE_PATH PROJECT_SOURCE_DIR NORMALIZE OUTPUT_VARIABLE source_dir)
cmake_path(GET source_dir PARENT_PATH work_dir)
set(TOLV_SAMPLES_DIR "Z:${work_dir}/shared/samples")
