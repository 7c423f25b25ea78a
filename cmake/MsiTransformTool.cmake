# The build-time transform generator (tools/msitransform) runs on the build
# machine, so a cross build compiles it with the host's own compiler.
set(CX_MSITRANSFORM_SOURCES
    ${CMAKE_SOURCE_DIR}/tools/msitransform/CompoundFile.cpp
    ${CMAKE_SOURCE_DIR}/tools/msitransform/InstallerDatabase.cpp
    ${CMAKE_SOURCE_DIR}/tools/msitransform/PackageEmbedder.cpp
    ${CMAKE_SOURCE_DIR}/tools/msitransform/SummaryInfo.cpp
    ${CMAKE_SOURCE_DIR}/tools/msitransform/TextCodec.cpp
    ${CMAKE_SOURCE_DIR}/tools/msitransform/TransformBuilder.cpp
    ${CMAKE_SOURCE_DIR}/common/share/SourceLocation.cpp
    ${CMAKE_SOURCE_DIR}/common/share/TeguError.cpp)
file(GLOB CX_MSITRANSFORM_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/msitransform/*.h)

if(CMAKE_CROSSCOMPILING)
    find_program(CX_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    set(CX_MSITRANSFORM ${CMAKE_BINARY_DIR}/host-tools/msitransform)
    add_custom_command(OUTPUT ${CX_MSITRANSFORM}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-tools
        COMMAND ${CX_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR}/common/share
                ${CX_MSITRANSFORM_SOURCES} ${CMAKE_SOURCE_DIR}/tools/msitransform/main.cpp
                -o ${CX_MSITRANSFORM}
        DEPENDS ${CX_MSITRANSFORM_SOURCES} ${CX_MSITRANSFORM_HEADERS}
                ${CMAKE_SOURCE_DIR}/tools/msitransform/main.cpp
        COMMENT "host c++ msitransform")
    add_custom_target(msitransform_tool DEPENDS ${CX_MSITRANSFORM})
    set(CX_MSITRANSFORM_COMMAND ${CX_MSITRANSFORM})
else()
    add_library(msitransform_core STATIC ${CX_MSITRANSFORM_SOURCES})
    target_include_directories(msitransform_core PUBLIC
        ${CMAKE_SOURCE_DIR}/tools/msitransform ${CMAKE_SOURCE_DIR}/common/share)
    if(CX_SANITIZE)
        target_compile_options(msitransform_core PRIVATE -fsanitize=fuzzer-no-link)
    endif()
    add_executable(msitransform ${CMAKE_SOURCE_DIR}/tools/msitransform/main.cpp)
    target_link_libraries(msitransform PRIVATE msitransform_core)
    set(CX_MSITRANSFORM_COMMAND $<TARGET_FILE:msitransform>)
endif()
