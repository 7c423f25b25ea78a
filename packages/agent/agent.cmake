# The carried update agent (resource 105).
set(CX_AGENT_MSI ${CX_PACKAGE_DIR}/agent.msi)
file(WRITE ${CX_PACKAGE_DIR}/agent-readme.txt "Calyx update agent ${CX_AGENT_VERSION}\n")
cx_wixl_package(agent_package ${CX_AGENT_MSI} ${CMAKE_CURRENT_LIST_DIR}/agent.wxs.in)
list(APPEND CX_PACKAGE_TARGETS agent_package)
list(APPEND CX_CARRIED_PACKAGES ${CX_AGENT_MSI})
