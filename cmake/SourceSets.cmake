# Sources are found by folder, so adding a module means adding its files.
#   Foo_test.cpp     unit test (no lasting machine state)
#   Foo_systest.cpp  test that changes machine state; runs alone
#   *_win.cpp        Windows-only file inside a portable folder
set(CX_PORTABLE_DIRS
    common/share
    common/share/progress
    settings/share
    windows/common/unzip
    common/share/xml
)
set(CX_WINDOWS_DIRS
    common/windows
    ipc/share
    ipc/windows
    settings/windows
    windows/common
    windows/common/unzip/win
    windows/common/net
    windows/common/xml
    windows/common/browsers
    windows/html_ui/engine
    windows/html_ui/wrappers
    windows/wrappers/common
    windows/au/common/au
    CalyxScrub
)
set(CX_HOST_DIRS common/posix)
set(CX_INCLUDE_DIRS ${CX_PORTABLE_DIRS} ${CX_WINDOWS_DIRS} ${CX_HOST_DIRS} resources
    ipc/include tests ${CMAKE_BINARY_DIR}/generated)

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
