# The Windows build's test programs, run under Wine by ctest through the
# build's emulator (scripts/wine_run.sh): the GUI tests whose behaviour is
# the same on Windows, and the tests of what only Windows does. Qt Test's
# console output is lost under Wine, so each writes its log to a file beside
# it; ctest judges by the exit code.
set(WINDOWS_TESTS test_startup test_stepping test_drop test_toolkit_command_line test_windows_platform)
foreach(name ${WINDOWS_TESTS})
  if(name STREQUAL "test_windows_platform")
    add_executable(${name} windows/${name}.cpp)
  else()
    add_executable(${name} ${name}.cpp)
  endif()
  target_link_libraries(${name} PRIVATE testsupport viewertestsupport)
  add_test(NAME ${name} COMMAND ${name} -o ${CMAKE_CURRENT_BINARY_DIR}/${name}.log,txt)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "LIBGL_ALWAYS_SOFTWARE=1;TEST_DATA_DIR=${CMAKE_CURRENT_SOURCE_DIR}/data" TIMEOUT 600)
endforeach()
