# Run just before the product links (cmake -P, from cmake/hardening.cmake):
# makes the delay-load import libraries from the functions the product's
# objects actually call, instead of from every export of each DLL, whose
# thunks and import entries were most of the exe's import data.
#
# Input variables:
#   TVX_NM, TVX_DLLTOOL  the toolchain's nm and dlltool
#   TVX_C_PREFIX         "_" where C symbols carry an underscore (32-bit x86)
#   TVX_DLLS             the delay-loaded DLLs, in order of preference
#   TVX_DELAY_DIR        holds <dll>.exports (every export, one a line, made
#                        at configure time); gets lib/ and keep-thunks.rsp
#   TVX_INPUTS           a file naming the objects and static libraries that
#                        the product links, one a line
#
# Output:
#   lib/lib<dll>.a       the delay library, found by the product's -l<dll>
#                        ahead of the real import library, so a call the list
#                        missed is an undefined reference at link time, never
#                        a direct import. A DLL nothing calls gets an empty
#                        archive for the same reason.
#   keep-thunks.rsp      --require-defined for every thunk: ld drops the code
#                        of a member reached only through its __imp_ pointer
#                        (the pointer would then be 0), and a listed thunk
#                        that is not in its library fails the link.
cmake_minimum_required(VERSION 3.20)

foreach(tvx_var TVX_NM TVX_DLLTOOL TVX_DLLS TVX_DELAY_DIR TVX_INPUTS)
    if(NOT DEFINED ${tvx_var})
        message(FATAL_ERROR "delay_imports.cmake: ${tvx_var} is not set")
    endif()
endforeach()

# The objects and libraries; windres output (.res) has no symbols.
file(STRINGS "${TVX_INPUTS}" tvx_inputs)
list(FILTER tvx_inputs INCLUDE REGEX "\\.(o|obj|a)$")
if(NOT tvx_inputs)
    message(FATAL_ERROR "delay_imports.cmake: no objects listed in ${TVX_INPUTS}")
endif()
execute_process(COMMAND "${TVX_NM}" -u ${tvx_inputs}
    OUTPUT_VARIABLE tvx_nm_output RESULT_VARIABLE tvx_status)
if(NOT tvx_status EQUAL 0)
    message(FATAL_ERROR "delay_imports.cmake: ${TVX_NM} -u failed on the product's objects")
endif()

# "U __imp__InternetOpenA@20" (a dllimport call) and "U _GdipAlloc@4" (a
# plain call, as the GDI+ flat API is declared) both name InternetOpenA@20 or
# GdipAlloc@4 in the .def; on x86-64 "U __imp_InternetOpenA" names
# InternetOpenA.
string(REGEX MATCHALL "U [^\r\n]+" tvx_undefined "${tvx_nm_output}")
list(TRANSFORM tvx_undefined REPLACE "^U (__imp_)?" "")
list(FILTER tvx_undefined INCLUDE REGEX "^${TVX_C_PREFIX}[A-Za-z0-9_]+(@[0-9]+)?$")
if(TVX_C_PREFIX)
    list(TRANSFORM tvx_undefined REPLACE "^${TVX_C_PREFIX}" "")
endif()
list(REMOVE_DUPLICATES tvx_undefined)

# A name exported by two of the DLLs (shell32 and shlwapi share a few) goes to
# the first in the list. Variable names cannot hold '@'.
foreach(tvx_dll ${TVX_DLLS})
    file(STRINGS "${TVX_DELAY_DIR}/${tvx_dll}.exports" tvx_exports)
    foreach(tvx_name ${tvx_exports})
        string(REPLACE "@" "_at_" tvx_key "${tvx_name}")
        if(NOT DEFINED "tvx_owner_${tvx_key}")
            set("tvx_owner_${tvx_key}" ${tvx_dll})
        endif()
    endforeach()
    set(tvx_used_${tvx_dll} "")
endforeach()
foreach(tvx_name ${tvx_undefined})
    string(REPLACE "@" "_at_" tvx_key "${tvx_name}")
    if(DEFINED "tvx_owner_${tvx_key}")
        list(APPEND tvx_used_${tvx_owner_${tvx_key}} "${tvx_name}")
    endif()
endforeach()

set(tvx_lib_dir "${TVX_DELAY_DIR}/lib")
file(MAKE_DIRECTORY "${tvx_lib_dir}")
set(tvx_keep "")
foreach(tvx_dll ${TVX_DLLS})
    set(tvx_names ${tvx_used_${tvx_dll}})
    list(SORT tvx_names)
    set(tvx_def "${tvx_lib_dir}/${tvx_dll}.def")
    set(tvx_lib "${tvx_lib_dir}/lib${tvx_dll}.a")
    list(JOIN tvx_names "\n" tvx_lines)
    set(tvx_def_text "LIBRARY ${tvx_dll}.dll\nEXPORTS\n${tvx_lines}\n")
    set(tvx_old_def_text "")
    if(EXISTS "${tvx_def}")
        file(READ "${tvx_def}" tvx_old_def_text)
    endif()
    # dlltool only when the list changed, so an unchanged library keeps its
    # time stamp. The .def is removed first and written back last: a failed
    # run leaves none, so the next one makes the library again.
    if(NOT EXISTS "${tvx_lib}" OR NOT tvx_def_text STREQUAL tvx_old_def_text)
        file(REMOVE "${tvx_def}")
        if(tvx_names)
            file(WRITE "${tvx_def}.new" "${tvx_def_text}")
            execute_process(COMMAND "${TVX_DLLTOOL}" --input-def "${tvx_def}.new"
                --output-delaylib "${tvx_lib}" --dllname ${tvx_dll}.dll -k
                RESULT_VARIABLE tvx_status)
            if(NOT tvx_status EQUAL 0)
                message(FATAL_ERROR "delay_imports.cmake: dlltool failed to make ${tvx_lib}")
            endif()
            file(RENAME "${tvx_def}.new" "${tvx_def}")
        else()
            file(WRITE "${tvx_lib}" "!<arch>\n")
            file(WRITE "${tvx_def}" "${tvx_def_text}")
        endif()
    endif()
    foreach(tvx_name ${tvx_names})
        string(APPEND tvx_keep "--require-defined=${TVX_C_PREFIX}${tvx_name}\n")
    endforeach()
endforeach()
set(tvx_rsp "${TVX_DELAY_DIR}/keep-thunks.rsp")
file(WRITE "${tvx_rsp}.new" "${tvx_keep}")
file(COPY_FILE "${tvx_rsp}.new" "${tvx_rsp}" ONLY_IF_DIFFERENT)
file(REMOVE "${tvx_rsp}.new")
