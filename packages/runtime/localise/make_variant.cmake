# Makes the localised variant of the runtime package for one language:
#   cmake -DBASE=<base.msi> -DOUT=<variant.msi> -DLANGID=<id> -DMSIBUILD=<msibuild>
#         -DMSIINFO=<msiinfo> -P make_variant.cmake
# The variant holds its texts as UTF-8 (code page 65001), the one code page
# the package tools write every script in; the transform generator re-encodes
# them in the language's own code page.
set(comments_2052 "Calyx 运行时环境")
set(comments_1028 "Calyx 執行階段環境")
set(comments_1031 "Calyx-Laufzeitumgebung")
set(comments_1034 "Entorno de ejecución de Calyx")
set(comments_1036 "Environnement d'exécution Calyx")
set(comments_1040 "Ambiente di esecuzione Calyx")
set(comments_1041 "Calyx ランタイム環境")
set(comments_1042 "Calyx 런타임 환경")
set(comments_1046 "Ambiente de execução do Calyx")
set(comments_1053 "Calyx-körmiljö")
if(NOT DEFINED comments_${LANGID})
    message(FATAL_ERROR "no texts for language ${LANGID}")
endif()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed: ${result}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

get_filename_component(work ${OUT} DIRECTORY)
set(work ${work}/localise-${LANGID})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(COPY_FILE ${BASE} ${OUT}.tmp)
file(WRITE ${work}/_ForceCodepage.idt "\r\n\r\n65001\t_ForceCodepage\r\n")
run(${MSIBUILD} ${OUT}.tmp -i ${work}/_ForceCodepage.idt)
run(${MSIINFO} export ${BASE} Property)
string(REGEX REPLACE "\nProductLanguage\t[0-9]+" "\nProductLanguage\t${LANGID}" output "${output}")
string(REGEX REPLACE "\nARPCOMMENTS\t[^\r\n]*" "\nARPCOMMENTS\t${comments_${LANGID}}" output "${output}")
file(WRITE ${work}/Property.idt "${output}")
run(${MSIBUILD} ${OUT}.tmp -i ${work}/Property.idt)
file(RENAME ${OUT}.tmp ${OUT})
file(REMOVE_RECURSE ${work})
