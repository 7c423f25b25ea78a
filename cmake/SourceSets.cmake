# Sources are found by folder, so adding a module means adding its files.
#   Foo_test.cpp     unit test (no lasting machine state)
#   Foo_systest.cpp  test that changes machine state; runs alone
#   *_win.cpp        Windows-only file inside a portable folder
#
# The product is built as layers, lowest first. A layer's library sees only
# its own folders and those of the layers it builds on, so a lower layer
# cannot include a higher one's headers. Tests see every layer and tests/.

# Splits the .cpp files of the given folders into sources, tests and
# machine-state tests. Windows-only files are dropped unless keepWin is set.
function(cx_collect keepWin outSources outTests outSysTests)
    set(sources)
    set(tests)
    set(systests)
    foreach(dir ${ARGN})
        file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        foreach(f ${files})
            if(f MATCHES "_systest\\.cpp$")
                list(APPEND systests ${f})
            elseif(f MATCHES "_test\\.cpp$")
                list(APPEND tests ${f})
            elseif(f MATCHES "_win\\.cpp$" AND NOT keepWin)
            else()
                list(APPEND sources ${f})
            endif()
        endforeach()
    endforeach()
    set(${outSources} ${sources} PARENT_SCOPE)
    set(${outTests} ${tests} PARENT_SCOPE)
    set(${outSysTests} ${systests} PARENT_SCOPE)
endfunction()

# cx_layer(<target> [PORTABLE dirs...] [WINDOWS dirs...] [HOST dirs...]
#          [PUBLIC_INCLUDE dirs...] [DEPS targets...])
# Folders of the other platform are left out. The folders are the layer's
# include folders unless PUBLIC_INCLUDE names them; its tests are gathered
# into the global properties CX_TESTS and CX_SYSTESTS.
function(cx_layer target)
    cmake_parse_arguments(ARG "" "" "PORTABLE;WINDOWS;HOST;PUBLIC_INCLUDE;DEPS" ${ARGN})
    if(WIN32)
        set(dirs ${ARG_PORTABLE} ${ARG_WINDOWS})
        set(keepWin TRUE)
    else()
        set(dirs ${ARG_PORTABLE} ${ARG_HOST})
        set(keepWin FALSE)
    endif()
    cx_collect(${keepWin} sources tests systests ${dirs})
    set(includes)
    foreach(dir ${dirs})
        list(APPEND includes ${CMAKE_SOURCE_DIR}/${dir})
    endforeach()
    if(sources)
        add_library(${target} STATIC ${sources})
        if(ARG_PUBLIC_INCLUDE)
            target_include_directories(${target} PUBLIC ${ARG_PUBLIC_INCLUDE} PRIVATE ${includes})
        else()
            target_include_directories(${target} PUBLIC ${includes})
        endif()
        target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${includes} ${ARG_PUBLIC_INCLUDE})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    endif()
    set_property(GLOBAL APPEND PROPERTY CX_TESTS ${tests})
    set_property(GLOBAL APPEND PROPERTY CX_SYSTESTS ${systests})
    # Tests reach a layer's private folders too.
    set_property(GLOBAL APPEND PROPERTY CX_TEST_INCLUDES ${includes})
endfunction()

# Every layer, lowest first.
macro(cx_layers)
    cx_layer(cx_foundation PORTABLE common/share WINDOWS common/windows HOST common/posix)
    target_include_directories(cx_foundation PUBLIC ${CMAKE_BINARY_DIR}/generated)
    cx_layer(cx_ipc PORTABLE ipc/share WINDOWS ipc/windows HOST ipc/posix
             PUBLIC_INCLUDE ${CMAKE_SOURCE_DIR}/ipc/include DEPS cx_foundation)
    cx_layer(cx_progress PORTABLE common/share/progress WINDOWS common/windows/progress
             DEPS cx_foundation cx_ipc)
    cx_layer(cx_settings PORTABLE settings/share WINDOWS settings/windows DEPS cx_foundation)
    cx_layer(cx_unzip PORTABLE windows/common/unzip WINDOWS windows/common/unzip/win
             HOST windows/common/unzip/posix DEPS cx_foundation)
    cx_layer(cx_options PORTABLE common/share/xml DEPS cx_foundation)
    if(NOT WIN32)
        cx_layer(cx_scrub PORTABLE CalyxScrub DEPS cx_foundation)
    endif()
    if(WIN32)
        cx_layer(cx_system WINDOWS windows/common/system DEPS cx_foundation)
        cx_layer(cx_files WINDOWS windows/common/files DEPS cx_system)
        cx_layer(cx_msi WINDOWS windows/common/msi DEPS cx_files)
        cx_layer(cx_detection WINDOWS windows/common/detection
                 DEPS cx_msi cx_unzip cx_settings)
        cx_layer(cx_config WINDOWS windows/common/config DEPS cx_settings cx_files)
        cx_layer(cx_deploy WINDOWS windows/common/deploy DEPS cx_files)
        cx_layer(cx_net WINDOWS windows/common/net windows/common/xml windows/common/browsers
                 DEPS cx_files)
        # Security baselines: the checks are portable, the download and the
        # document reading are not.
        cx_layer(cx_scrub PORTABLE CalyxScrub WINDOWS CalyxScrub/windows DEPS cx_net)
        cx_layer(cx_ui WINDOWS windows/html_ui/engine DEPS cx_net cx_ipc)
        cx_layer(cx_dialogs WINDOWS windows/html_ui/wrappers DEPS cx_ui cx_detection)
        # Named "au/Config.h" from above: the settings library has a Config.h too.
        cx_layer(cx_au WINDOWS windows/au/common/au
                 PUBLIC_INCLUDE ${CMAKE_SOURCE_DIR}/windows/au/common DEPS cx_detection)
        cx_layer(cx_installer WINDOWS windows/wrappers/common
                 DEPS cx_detection cx_au cx_config cx_deploy cx_progress cx_net cx_options cx_scrub cx_ui
                      cx_dialogs)
        target_include_directories(cx_installer PUBLIC ${CMAKE_SOURCE_DIR}/resources)
    endif()
    # Everything, for programs and tests that stand above every layer.
    add_library(cx_core INTERFACE)
    if(WIN32)
        target_link_libraries(cx_core INTERFACE cx_installer)
    else()
        target_link_libraries(cx_core INTERFACE cx_progress cx_settings cx_unzip cx_options cx_scrub)
    endif()
    get_property(CX_TEST_INCLUDES GLOBAL PROPERTY CX_TEST_INCLUDES)
    get_property(CX_TESTS GLOBAL PROPERTY CX_TESTS)
    get_property(CX_SYSTESTS GLOBAL PROPERTY CX_SYSTESTS)
endmacro()
