# The carried update agent (resource 105) and older and newer agents built
# from the same source, for the upgrade checks. Every agent is a 32-bit
# package with one product code, so each version replaces the other.
set(CX_AGENT_PRODUCT_CODE "7C51D2E8-93B4-4F6A-A1C0-5E2D9B7F3A64")
set(CX_AGENT_MSI ${CX_PACKAGE_DIR}/agent.msi)

# cx_agent_package(<version> <output.msi> <plainSchedule yes|no>)
function(cx_agent_package version output plainSchedule)
    string(REPLACE "." "," CX_AGENT_STANDIN_COMMAS ${version})
    set(CX_AGENT_STANDIN_VERSION ${version})
    set(rc ${CMAKE_BINARY_DIR}/generated/agent-standin-${version}.rc)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/standin.rc.in ${rc} @ONLY)
    set(standin agent_standin_${version})
    string(REPLACE "." "_" standin ${standin})
    add_executable(${standin} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/standin.cpp ${rc})
    set(folder ${CX_PACKAGE_DIR}/agent-${version})
    set_target_properties(${standin} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})
    # The three programs differ only in name.
    set(copies)
    foreach(name cxprobe cxtimer cxenrol)
        list(APPEND copies ${folder}/${name}.exe)
    endforeach()
    add_custom_command(OUTPUT ${copies}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${standin}> ${folder}/cxprobe.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${standin}> ${folder}/cxtimer.exe
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${standin}> ${folder}/cxenrol.exe
        DEPENDS ${standin})
    get_filename_component(target ${output} NAME_WE)
    cx_wixl_package(${target}_package ${output} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/agent.wxs.in
        ARCH x86 DEPENDS ${copies}
        DEFINES AgentVersion=${version} PlainSchedule=${plainSchedule})
    set(CX_PACKAGE_TARGETS ${CX_PACKAGE_TARGETS} ${target}_package PARENT_SCOPE)
endfunction()

cx_agent_package(${CX_AGENT_VERSION} ${CX_AGENT_MSI} no)
cx_agent_package(2.7.0.5 ${CX_PACKAGE_DIR}/agent_2_7_0_5.msi yes)
cx_agent_package(2.8.451.9 ${CX_PACKAGE_DIR}/agent_2_8_451_9.msi no)
cx_agent_package(3.0.0.1 ${CX_PACKAGE_DIR}/agent_3_0_0_1.msi no)
list(APPEND CX_CARRIED_PACKAGES ${CX_AGENT_MSI})
