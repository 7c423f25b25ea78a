# The demo runtime's payload: two launchers whose file version gives the
# family, update and build, and the class archive with its manifest.
set(CX_RUNTIME_BIN ${CX_PACKAGE_DIR}/runtime-bin)
configure_file(${CMAKE_CURRENT_LIST_DIR}/launcher/launcher.rc.in
               ${CMAKE_BINARY_DIR}/generated/launcher.rc @ONLY)
foreach(name calyx calyxw)
    add_executable(runtime_${name} ${CMAKE_CURRENT_LIST_DIR}/launcher/launcher.cpp
                   ${CMAKE_BINARY_DIR}/generated/launcher.rc)
    target_include_directories(runtime_${name} PRIVATE ${CMAKE_BINARY_DIR}/generated)
    set_target_properties(runtime_${name} PROPERTIES OUTPUT_NAME ${name}
        RUNTIME_OUTPUT_DIRECTORY ${CX_RUNTIME_BIN})
endforeach()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CX_RUNTIME_ARCHIVE ${CX_PACKAGE_DIR}/runtime-lib/rt.cxa)
add_custom_command(OUTPUT ${CX_RUNTIME_ARCHIVE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CX_PACKAGE_DIR}/runtime-lib
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_archive.py
            ${CX_RUNTIME_ARCHIVE} ${CX_RUNTIME_VERSION}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_archive.py)
add_custom_target(runtime_payload DEPENDS ${CX_RUNTIME_ARCHIVE} runtime_calyx runtime_calyxw)
