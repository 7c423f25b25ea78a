# Stand-ins for the runtime's deployment library (deploy.dll, export
# RegisterDeployEx) and the C library it takes wcslen from (msvcr100.dll),
# installed by the demo runtime beside its launchers.
set(CX_DEPLOY_BIN ${CX_PACKAGE_DIR}/runtime-bin)

add_library(runtime_msvcr SHARED ${CMAKE_CURRENT_LIST_DIR}/deploylib/msvcr100.c
            ${CMAKE_CURRENT_LIST_DIR}/deploylib/msvcr100.def)
# No C runtime of its own; the loop must not become a call to wcslen.
target_compile_options(runtime_msvcr PRIVATE -ffreestanding -fno-tree-loop-distribute-patterns)
if(CX_PACKAGE_BITS EQUAL 64)
    set(CX_MSVCR_ENTRY StandInEntry)
else()
    set(CX_MSVCR_ENTRY _StandInEntry@12)
endif()
target_link_options(runtime_msvcr PRIVATE -nostdlib -Wl,-e,${CX_MSVCR_ENTRY})
set_target_properties(runtime_msvcr PROPERTIES
    PREFIX "" OUTPUT_NAME msvcr100
    RUNTIME_OUTPUT_DIRECTORY ${CX_DEPLOY_BIN}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/deploylib)

add_library(runtime_deploy MODULE ${CMAKE_CURRENT_LIST_DIR}/deploylib/DeployStandIn.cpp
            ${CMAKE_CURRENT_LIST_DIR}/deploylib/deploy.def)
# Listed first, so wcslen is imported from the stand-in C library.
target_link_libraries(runtime_deploy PRIVATE runtime_msvcr advapi32)
set_target_properties(runtime_deploy PROPERTIES
    PREFIX "" OUTPUT_NAME deploy
    LIBRARY_OUTPUT_DIRECTORY ${CX_DEPLOY_BIN})
