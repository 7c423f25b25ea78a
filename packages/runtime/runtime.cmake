# The carried demo runtime (resource 103).
if(CX_PACKAGE_BITS EQUAL 64)
    set(CX_RUNTIME_PRODUCT_CODE "8B3F1D62-E57A-41B8-A2C6-7D64180451F0")
else()
    set(CX_RUNTIME_PRODUCT_CODE "8B3F1D62-E57A-41B8-A2C6-7D32180451F0")
endif()
set(CX_RUNTIME_UPGRADE_CODE "8B3F1D62-E57A-41B8-A2C6-7D${CX_PACKAGE_BITS}18000000")
if(CX_PACKAGE_BITS EQUAL 64)
    set(CX_RUNTIME_NAME_SUFFIX " (64-bit)")
    set(CX_RUNTIME_WIN64 yes)
else()
    set(CX_RUNTIME_NAME_SUFFIX "")
    set(CX_RUNTIME_WIN64 no)
endif()
string(REGEX REPLACE "-b[0-9]+$" "" CX_RUNTIME_VERSION_NO_BUILD "${CX_RUNTIME_VERSION}")
set(CX_RUNTIME_MSI_VERSION "8.0.${CX_RUNTIME_UPDATE}.${CX_RUNTIME_BUILD}")
set(CX_RUNTIME_MSI ${CX_PACKAGE_DIR}/runtime.msi)
set(CX_RUNTIME_BASE_MSI ${CX_PACKAGE_DIR}/runtime-base.msi)
file(WRITE ${CX_PACKAGE_DIR}/runtime-readme.txt "Calyx runtime ${CX_RUNTIME_VERSION}\n")
cx_wixl_package(runtime_base_package ${CX_RUNTIME_BASE_MSI} ${CMAKE_CURRENT_LIST_DIR}/runtime.wxs.in
    DEPENDS runtime_custom_actions runtime_payload runtime_deploy runtime_msvcr)

# One embedded transform per non-English user-interface language
# (<langid>:<code page of its texts>): each is the difference between the
# base package and its localised variant.
set(CX_RUNTIME_LANGUAGES 2052:936 1028:950 1031:1252 1034:1252 1036:1252 1040:1252
    1041:932 1042:949 1046:1252 1053:1252)
set(embedArgs)
set(transforms)
foreach(language ${CX_RUNTIME_LANGUAGES})
    string(REPLACE ":" ";" parts ${language})
    list(GET parts 0 langId)
    list(GET parts 1 codepage)
    set(variant ${CX_PACKAGE_DIR}/runtime-${langId}.msi)
    set(transform ${CX_PACKAGE_DIR}/runtime-${langId}.mst)
    add_custom_command(OUTPUT ${variant}
        COMMAND ${CMAKE_COMMAND} -DBASE=${CX_RUNTIME_BASE_MSI} -DOUT=${variant} -DLANGID=${langId}
                -DMSIBUILD=${CX_MSIBUILD} -DMSIINFO=${CX_MSIINFO}
                -P ${CMAKE_CURRENT_LIST_DIR}/localise/make_variant.cmake
        DEPENDS ${CX_RUNTIME_BASE_MSI} ${CMAKE_CURRENT_LIST_DIR}/localise/make_variant.cmake
        COMMENT "localised runtime package ${langId}")
    add_custom_command(OUTPUT ${transform}
        COMMAND ${CX_MSITRANSFORM_COMMAND} generate ${CX_RUNTIME_BASE_MSI} ${variant} ${codepage} ${transform}
        DEPENDS ${variant} ${CX_MSITRANSFORM_COMMAND}
        COMMENT "transform ${langId}")
    list(APPEND transforms ${transform})
    list(APPEND embedArgs ${langId}=${transform})
endforeach()
add_custom_command(OUTPUT ${CX_RUNTIME_MSI}
    COMMAND ${CX_MSITRANSFORM_COMMAND} embed ${CX_RUNTIME_BASE_MSI} ${CX_RUNTIME_MSI} ${embedArgs}
    DEPENDS ${CX_RUNTIME_BASE_MSI} ${transforms} ${CX_MSITRANSFORM_COMMAND}
    COMMENT "runtime package with its language transforms")
add_custom_target(runtime_package DEPENDS ${CX_RUNTIME_MSI})
add_dependencies(runtime_package runtime_base_package msitransform_tool)
list(APPEND CX_PACKAGE_TARGETS runtime_package)
list(APPEND CX_CARRIED_PACKAGES ${CX_RUNTIME_MSI})
