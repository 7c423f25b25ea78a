# Libraries that are not KnownDLLs would be found first in the executable's
# own folder (often a downloads folder) if imported at start. They are
# delay-loaded instead, after WinMain has limited the search to System32.
set(CX_KNOWN_DLL_LIBS shlwapi shell32 ole32 oleaut32 uuid advapi32 user32 gdi32)
set(CX_DELAYED_DLLS msi wininet comctl32 crypt32 version userenv urlmon)

find_program(CX_NM ${CX_MINGW_TRIPLE}-nm REQUIRED)
find_program(CX_DLLTOOL ${CX_MINGW_TRIPLE}-dlltool REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(cxMachine x86-64)
else()
    set(cxMachine i386)
endif()

set(CX_DELAYED_LIBS)
foreach(name ${CX_DELAYED_DLLS})
    find_library(cxImport_${name} NAMES lib${name}.a REQUIRED)
    set(out ${CMAKE_BINARY_DIR}/delayimp/lib${name}_delay.a)
    add_custom_command(OUTPUT ${out} ${out}.undefs
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayimp
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/delay-import-library.sh ${CX_NM} ${CX_DLLTOOL}
                ${cxMachine} ${cxImport_${name}} ${name}.dll ${out}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay-import-library.sh
        VERBATIM)
    list(APPEND CX_DELAYED_LIBS ${out})
    list(APPEND CX_DELAYED_LINK_OPTIONS "-Wl,@${out}.undefs")
endforeach()
add_custom_target(delay_import_libraries DEPENDS ${CX_DELAYED_LIBS})
