# The runtime package's custom actions (cxprogress.dll, beside the package
# sources that wixl reads), built for this build's architecture.
add_library(runtime_custom_actions SHARED
            ${CMAKE_CURRENT_LIST_DIR}/customactions/ProgressActions.cpp)
target_link_libraries(runtime_custom_actions PRIVATE cx_progress)
target_link_options(runtime_custom_actions PRIVATE -Wl,--kill-at)
set_target_properties(runtime_custom_actions PROPERTIES
    PREFIX "" OUTPUT_NAME cxprogress
    RUNTIME_OUTPUT_DIRECTORY ${CX_PACKAGE_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
