# The carried packages, built from WiX sources with wixl for this build's
# architecture. Package definitions live in packages/<name>/*.cmake.
find_program(CX_WIXL wixl REQUIRED)
find_program(CX_MSIBUILD msibuild REQUIRED)
find_program(CX_MSIINFO msiinfo REQUIRED)
include(cmake/MsiTransformTool.cmake)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CX_PACKAGE_ARCH x64)
    set(CX_PACKAGE_BITS 64)
    set(CX_PROGRAM_FILES_FOLDER ProgramFiles64Folder)
else()
    set(CX_PACKAGE_ARCH x86)
    set(CX_PACKAGE_BITS 32)
    set(CX_PROGRAM_FILES_FOLDER ProgramFilesFolder)
endif()
set(CX_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packages)
file(MAKE_DIRECTORY ${CX_PACKAGE_DIR})
set(CX_CARRIED_PACKAGES)

# cx_wixl_package(<target> <output.msi> <source.wxs.in> [ARCH x86|x64] DEPENDS files... DEFINES K=V...)
# ARCH defaults to this build's architecture.
function(cx_wixl_package target output source)
    cmake_parse_arguments(ARG "" "ARCH" "DEPENDS;DEFINES" ${ARGN})
    if(NOT ARG_ARCH)
        set(ARG_ARCH ${CX_PACKAGE_ARCH})
    endif()
    get_filename_component(sourceName ${source} NAME)
    string(REGEX REPLACE "\\.in$" "" configuredName ${sourceName})
    set(configured ${CX_PACKAGE_DIR}/${configuredName})
    configure_file(${source} ${configured} @ONLY)
    set(defines)
    foreach(d ${ARG_DEFINES})
        list(APPEND defines -D ${d})
    endforeach()
    add_custom_command(OUTPUT ${output}
        COMMAND ${CX_WIXL} -a ${ARG_ARCH} ${defines} -o ${output} ${configured}
        DEPENDS ${configured} ${source} ${ARG_DEPENDS}
        WORKING_DIRECTORY ${CX_PACKAGE_DIR}
        COMMENT "wixl ${configuredName}")
    add_custom_target(${target} DEPENDS ${output})
endfunction()

file(GLOB packageDefinitions CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packages/*/*.cmake)
foreach(definition ${packageDefinitions})
    include(${definition})
endforeach()

add_custom_target(carried_packages)
foreach(p ${CX_PACKAGE_TARGETS})
    add_dependencies(carried_packages ${p})
endforeach()
