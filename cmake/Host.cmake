# Native Linux build of the portable code: unit tests under the sanitizers
# and the fuzz targets.
option(CX_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(CX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra)

find_package(ZLIB REQUIRED)

find_package(Threads REQUIRED)

cx_layers()
target_link_libraries(cx_foundation PUBLIC ZLIB::ZLIB Threads::Threads)
# Built with coverage instrumentation so fuzz targets can link against it.
if(CX_SANITIZE)
    foreach(layer cx_foundation cx_ipc cx_progress cx_settings cx_unzip cx_options)
        get_target_property(kind ${layer} TYPE)
        if(kind STREQUAL "STATIC_LIBRARY")
            target_compile_options(${layer} PRIVATE -fsanitize=fuzzer-no-link)
        endif()
    endforeach()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(portable_tests ${CX_TESTS} ${CMAKE_SOURCE_DIR}/tests/test_main.cpp)
target_link_libraries(portable_tests PRIVATE cx_core GTest::gtest GTest::gmock)
target_include_directories(portable_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CX_TEST_INCLUDES})
gtest_discover_tests(portable_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "CX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

include(cmake/MsiTransformTool.cmake)

# Each fuzz/<name>_fuzz.cpp is one libFuzzer target; CTest runs each briefly.
set(CX_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs under CTest")
file(GLOB fuzzSources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
if(CX_SANITIZE)
    foreach(f ${fuzzSources})
        get_filename_component(name ${f} NAME_WE)
        add_executable(${name} ${f})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name} PRIVATE cx_core msitransform_core)
        add_test(NAME fuzz.${name}
                 COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer $<TARGET_FILE:${name}>
                         ${CX_FUZZ_SECONDS} ${CMAKE_SOURCE_DIR}/fuzz)
    endforeach()
endif()

# Each bench/<name>/<name>_bench.cpp is a benchmark program driven by
# bench/<name>/run (timed in the host-release preset).
file(GLOB benchSources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*/*_bench.cpp)
foreach(f ${benchSources})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f})
    target_link_libraries(${name} PRIVATE cx_core)
endforeach()

# The carried page scripts in headless Chromium (set-up installs both).
add_test(NAME pages.host_js
         COMMAND node ${CMAKE_SOURCE_DIR}/tests/pages/pages_test.cjs ${CMAKE_SOURCE_DIR}/resources/pages)
set_tests_properties(pages.host_js PROPERTIES TIMEOUT 120
    ENVIRONMENT "NODE_PATH=${CMAKE_SOURCE_DIR}/build/node/node_modules")

# The pages' .wxl texts in every locale, and that the resource script carries them.
add_test(NAME pages.l10n
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/pages/l10n_check.py ${CMAKE_SOURCE_DIR}/resources)
