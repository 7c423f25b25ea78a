# Cross build for Windows: the installer, its carried packages and the
# tests that run under Wine.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wno-missing-field-initializers)
# Small rather than fast: a run waits on the installer service, not on this
# code. Sections per function let the linker drop what nothing calls.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
# Only DLLs that Windows ships: the C++ and threading runtimes go in statically.
add_link_options(-static -static-libgcc -static-libstdc++)

include(cmake/DelayImports.cmake)

find_library(CX_ZLIB NAMES libz.a z REQUIRED)

cx_layers()
target_link_libraries(cx_foundation PUBLIC ${CX_ZLIB} ${CX_DELAYED_LIBS} ${CX_KNOWN_DLL_LIBS})
target_link_options(cx_foundation PUBLIC ${CX_DELAYED_LINK_OPTIONS})
add_dependencies(cx_foundation delay_import_libraries)

include(cmake/Packages.cmake)
# After the packages: it names the carried runtime's codes and transforms.
string(REGEX REPLACE ":[0-9]+" "" CX_RUNTIME_TRANSFORM_IDS "${CX_RUNTIME_LANGUAGES}")
string(REPLACE ";" " " CX_RUNTIME_TRANSFORM_IDS "${CX_RUNTIME_TRANSFORM_IDS}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/BuildInfo.h.in
               ${CMAKE_BINARY_DIR}/generated/BuildInfo.h @ONLY)

# The installer executable.
file(GLOB cxrofflineSources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline/*.cpp)
list(FILTER cxrofflineSources EXCLUDE REGEX "_(sys)?test\\.cpp$")
add_executable(cxroffline WIN32 ${cxrofflineSources}
               ${CMAKE_SOURCE_DIR}/resources/cxroffline.rc)
target_link_libraries(cxroffline PRIVATE cx_core)
target_include_directories(cxroffline PRIVATE ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline)
# windres reports no include dependencies, so list what the scripts include.
file(GLOB_RECURSE cxResourceInputs CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
     ${CMAKE_SOURCE_DIR}/resources/*.manifest ${CMAKE_SOURCE_DIR}/resources/*.html
     ${CMAKE_SOURCE_DIR}/resources/*.js ${CMAKE_SOURCE_DIR}/resources/*.wxl
     ${CMAKE_SOURCE_DIR}/resources/*.css ${CMAKE_SOURCE_DIR}/resources/*.png ${CMAKE_SOURCE_DIR}/resources/*.gif
     ${CMAKE_SOURCE_DIR}/resources/*.ico)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/cxroffline.rc
    ${CMAKE_SOURCE_DIR}/tests/test_resources.rc PROPERTIES
    OBJECT_DEPENDS "${CX_CARRIED_PACKAGES};${cxResourceInputs}")
target_compile_options(cxroffline PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_BINARY_DIR}/packages -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/resources>)
add_dependencies(cxroffline carried_packages)
# Users get the executable without debug information; it stays beside it in
# cxroffline.exe.debug, linked by name, so that a crash can still be read.
add_custom_command(TARGET cxroffline POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug cxroffline.exe cxroffline.exe.debug
    COMMAND ${CMAKE_STRIP} --strip-all cxroffline.exe
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=cxroffline.exe.debug cxroffline.exe
    WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} VERBATIM)

# Tests, run under Wine through the cross-compiling emulator.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB testSupport CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
file(GLOB cxrofflineTests CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline/*_test.cpp
     ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline/*_systest.cpp)

function(cx_add_test_executable name)
    add_executable(${name} ${ARGN} ${testSupport} ${CMAKE_SOURCE_DIR}/tests/test_resources.rc)
    target_link_libraries(${name} PRIVATE cx_core GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CX_TEST_INCLUDES})
    target_compile_definitions(${name} PRIVATE
        CX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" CX_BINARY_DIR="${CMAKE_BINARY_DIR}")
    target_compile_options(${name} PRIVATE
        $<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_BINARY_DIR}/packages -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/tests -I${CMAKE_SOURCE_DIR}/resources>)
    add_dependencies(${name} carried_packages cxroffline standin_browser standin_webbrowser)
endfunction()

include(${CMAKE_SOURCE_DIR}/tests/netstub/netstub.cmake)
cx_add_test_executable(windows_tests ${CX_TESTS})
# CX_RUN_BOUND lets scripts/wine-run stop a hung test, and say what ran,
# before CTest's own timeout (900 s by scripts/run-tests) kills it silently.
gtest_discover_tests(windows_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES FIXTURES_REQUIRED netstub ENVIRONMENT CX_RUN_BOUND=870)

# Tests that install packages or change shared machine state: the installer
# service runs one install at a time, so these never overlap.
cx_add_test_executable(system_tests ${CX_SYSTESTS} ${cxrofflineTests})
target_include_directories(system_tests PRIVATE ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline)
gtest_discover_tests(system_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_LOCK machine_state TIMEOUT 600 FIXTURES_REQUIRED netstub ENVIRONMENT CX_RUN_BOUND=570)

# The carried package's language transforms, applied by the installer service.
cx_add_test_executable(transform_tests ${CMAKE_SOURCE_DIR}/packages/runtime/LanguageTransforms_systest.cpp)
gtest_discover_tests(transform_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT CX_RUN_BOUND=870)

# Scripted end-to-end checks of the real executable.
file(GLOB e2eScripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
foreach(script ${e2eScripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK machine_state TIMEOUT 900)
endforeach()

# One silent install by the real i686 executable, for machines where its
# suites cannot run (scripts/run-tests runs it there, under emulation).
# Its own test folder lets CTest run it without listing the suites, which
# would start the i686 test programs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tests/smoke ${CMAKE_BINARY_DIR}/smoke)
endif()

# Reports a program's whole exit code under Wine, for scripts.
add_executable(cxrun ${CMAKE_SOURCE_DIR}/tests/tools/cxrun.cpp)
# A silent install through a stand-in service that another installation holds.
add_executable(busy_install ${CMAKE_SOURCE_DIR}/tests/tools/busy_install.cpp)
target_link_libraries(busy_install PRIVATE cx_core)
# Prints the update agent's schedule, for the agent checks.
add_executable(au_schedule ${CMAKE_SOURCE_DIR}/tests/tools/au_schedule.cpp)
target_link_libraries(au_schedule PRIVATE cx_core)
# A browser window for the restart tests.
add_executable(standin_browser WIN32 ${CMAKE_SOURCE_DIR}/tests/tools/standin_browser.cpp)
# The scripted WebBrowser control as an in-process server, for end-to-end runs.
add_library(standin_webbrowser SHARED ${CMAKE_SOURCE_DIR}/tests/tools/standin_webbrowser.cpp
            ${CMAKE_SOURCE_DIR}/tests/StandinBrowser.cpp)
target_include_directories(standin_webbrowser PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(standin_webbrowser PRIVATE cx_foundation)
target_link_options(standin_webbrowser PRIVATE -Wl,--kill-at)
set_target_properties(standin_webbrowser PROPERTIES PREFIX "")

# The same installer carrying the failing fixture package.
add_executable(cxroffline_failing WIN32 ${cxrofflineSources} ${CMAKE_SOURCE_DIR}/tests/failing_installer.rc)
target_link_libraries(cxroffline_failing PRIVATE cx_core)
target_include_directories(cxroffline_failing PRIVATE ${CMAKE_SOURCE_DIR}/windows/wrappers/cxroffline)
target_compile_options(cxroffline_failing PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_BINARY_DIR}/packages -I${CMAKE_SOURCE_DIR}/resources>)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/failing_installer.rc PROPERTIES
    OBJECT_DEPENDS "${CX_PACKAGE_DIR}/fixture_failing.msi;${cxResourceInputs}")
add_dependencies(cxroffline_failing carried_packages)

# Each bench/<name>/<name>_winbench.cpp is a benchmark program that
# bench/<name>/run times under Wine.
file(GLOB winBenchSources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*/*_winbench.cpp)
foreach(f ${winBenchSources})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f})
    target_link_libraries(${name} PRIVATE cx_core)
endforeach()

# A library the end-to-end checks plant beside a copy of the installer.
add_library(planted_library SHARED ${CMAKE_SOURCE_DIR}/tests/PlantedLibrary.c)
set_target_properties(planted_library PROPERTIES PREFIX "" OUTPUT_NAME planted
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
