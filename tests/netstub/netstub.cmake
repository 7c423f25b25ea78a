# The stand-in web server as a CTest fixture: tests that require "netstub"
# find its port in <build>/netstub/port.
add_test(NAME netstub.start COMMAND bash ${CMAKE_SOURCE_DIR}/tests/netstub/netstub start ${CMAKE_BINARY_DIR}/netstub)
add_test(NAME netstub.stop COMMAND bash ${CMAKE_SOURCE_DIR}/tests/netstub/netstub stop ${CMAKE_BINARY_DIR}/netstub)
set_tests_properties(netstub.start PROPERTIES FIXTURES_SETUP netstub)
set_tests_properties(netstub.stop PROPERTIES FIXTURES_CLEANUP netstub)
