# The host simulator, tested with a plug-in of the tests' own that records the calls it gets.
# Each copy is built as plugins/tolv.dll under a directory of its own, the layout the simulator
# loads from its working directory.
function(tolv_test_plugin target dir)
  add_library(${target} SHARED TestPlugin.cpp)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME tolv
                                             RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${dir}/plugins
                                             ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${dir}/lib)
  tolv_warnings(${target})
endfunction()
tolv_test_plugin(hostsim_test_plugin hostsim-run)
tolv_test_plugin(hostsim_test_plugin_callee_pops hostsim-run-callee-pops)
target_compile_definitions(hostsim_test_plugin_callee_pops PRIVATE TOLV_TEST_CALLEE_POPS)

add_executable(hostsim_test HostsimTest.cpp)
target_link_libraries(hostsim_test PRIVATE tolv_hostsim GTest::gtest GTest::gtest_main)
add_dependencies(hostsim_test hostsim_test_plugin hostsim_test_plugin_callee_pops)
target_compile_definitions(
  hostsim_test PRIVATE TOLV_TEST_PLUGIN="Z:${CMAKE_CURRENT_BINARY_DIR}/hostsim-run/plugins/tolv.dll"
                       TOLV_TEST_PLUGIN_CALLEE_POPS="Z:${CMAKE_CURRENT_BINARY_DIR}/hostsim-run-callee-pops/plugins/tolv.dll")
tolv_warnings(hostsim_test)
gtest_discover_tests(hostsim_test DISCOVERY_TIMEOUT 60 ${TOLV_GTEST_DISCOVERY_ARGS})

# The program itself, run in the directory that holds plugins/tolv.dll: a script whose steps all
# pass, one whose failing steps are counted over two passes, and a directory without the plug-in.
set(hostsim_run ${CMAKE_CURRENT_BINARY_DIR}/hostsim-run)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/hostsim-empty)
function(tolv_hostsim_run name dir expected args files)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DRUNNER=${TOLV_WINE_RUNNER} -DPREFIX=${TOLV_WINE_PREFIX}
                   -DPROGRAM=$<TARGET_FILE:hostsim> -DDIR=${dir} -DEXPECTED=${expected} "-DARGS=${args}"
                   "-DFILES=${files}" -P ${CMAKE_CURRENT_SOURCE_DIR}/ExpectExit.cmake)
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 150)
endfunction()
set(scripts Z:${CMAKE_CURRENT_SOURCE_DIR}/scripts)
tolv_hostsim_run(hostsim_tour_passes_every_step ${hostsim_run} 0
                 "${TOLV_SAMPLES_DIR}/uk_ceefax_vhs_deconvolved.t42;--speed;4;--script;${scripts}/tour.txt"
                 "tour-box.png;tour-controls.txt;tour-log.txt")
tolv_hostsim_run(hostsim_exit_status_counts_failed_steps ${hostsim_run} 6
                 "--hidden;--script;${scripts}/failing.txt;--repeat;2" "")
tolv_hostsim_run(hostsim_without_plugin_fails_to_start ${CMAKE_CURRENT_BINARY_DIR}/hostsim-empty 102 "--hidden" "")
add_dependencies(hostsim_test hostsim)
