# Hardening of the Windows build: ASLR and DEP flags in the PE header, the
# stack protector, and delay-loading of the system DLLs that are not KnownDLLs
# on every supported Windows, so that the DLL search limits set first thing in
# wWinMain (app/process_hardening_win.cpp) also cover them.
# tests/hardening checks the result on the built exe.
if(NOT MINGW)
    return()
endif()

# -fstack-protector-strong makes gcc link libssp; the root's -static takes its
# archive, so no libssp-0.dll is imported. --high-entropy-va exists for 64-bit
# images only.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_link_options(-Wl,--high-entropy-va)
endif()
# The third-party libraries were added before this file was read.
foreach(tvx_dep jsoncpp_static pugixml-static)
    if(TARGET ${tvx_dep})
        target_compile_options(${tvx_dep} PRIVATE -fstack-protector-strong)
    endif()
endforeach()

# Delay-load import libraries, made from mingw's import libraries at configure
# time: every export listed there goes into a .def, which dlltool turns into
# a library whose thunks load the DLL on first call (LoadLibrary then honours
# SetDefaultDllDirectories). Only kernel32, msvcrt and advapi32 stay plain
# imports: they and everything they import load before wWinMain runs.
# - wininet is a KnownDLL up to Windows 7 only, gdiplus from Windows 10 only:
#   a planted copy beside the exe would otherwise load before any defence.
# - The others are KnownDLLs on Windows, but they pull in DLLs that are not
#   (Wine's user32 and setupapi import version.dll), and whatever they load
#   before wWinMain is found with the exe's folder first.
set(TVX_DELAY_LOADED_DLLS user32 gdi32 ole32 oleaut32 shell32 shlwapi setupapi wininet gdiplus)
set(tvx_delay_dir "${CMAKE_BINARY_DIR}/delayload")
file(MAKE_DIRECTORY "${tvx_delay_dir}")
set(TVX_DELAY_LIBS "")
# ld drops the code of an import-library member whose plain symbol nobody
# names (calls through __declspec(dllimport) name only the __imp_ pointer),
# and the delay thunk is that code: the pointer would then be 0. Every thunk
# is therefore named with -u, in a response file that ld reads.
set(TVX_DELAY_KEEP "${tvx_delay_dir}/keep-thunks.rsp")
set(tvx_keep "")
# C names are decorated differently per architecture: 32-bit x86 puts an
# underscore before every C symbol and "@N" after stdcall ones
# ("__imp__InternetOpenA@20"), x86-64 does neither ("__imp_InternetOpenA").
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(tvx_c_prefix "")
else()
    set(tvx_c_prefix "_")
endif()
foreach(tvx_dll ${TVX_DELAY_LOADED_DLLS})
    find_library(TVX_IMPLIB_${tvx_dll} NAMES lib${tvx_dll}.a ${tvx_dll})
    if(NOT TVX_IMPLIB_${tvx_dll})
        message(FATAL_ERROR "No import library for ${tvx_dll}")
    endif()
    set(tvx_def "${tvx_delay_dir}/${tvx_dll}.def")
    set(tvx_lib "${tvx_delay_dir}/lib${tvx_dll}_delay.a")
    if(NOT EXISTS "${tvx_lib}" OR "${TVX_IMPLIB_${tvx_dll}}" IS_NEWER_THAN "${tvx_lib}")
        execute_process(COMMAND "${CMAKE_NM}" "${TVX_IMPLIB_${tvx_dll}}"
            OUTPUT_VARIABLE tvx_symbols RESULT_VARIABLE tvx_status)
        if(NOT tvx_status EQUAL 0)
            message(FATAL_ERROR "${CMAKE_NM} failed on ${TVX_IMPLIB_${tvx_dll}}")
        endif()
        # "00000000 I __imp__InternetOpenA@20" -> "InternetOpenA@20" (stdcall),
        # "00000000 I __imp__wsprintfW" -> "wsprintfW" (cdecl); on x86-64
        # "__imp_InternetOpenA" -> "InternetOpenA".
        string(REGEX MATCHALL "__imp_${tvx_c_prefix}[A-Za-z0-9_]+(@[0-9]+)?" tvx_imports "${tvx_symbols}")
        list(REMOVE_DUPLICATES tvx_imports)
        list(TRANSFORM tvx_imports REPLACE "^__imp_${tvx_c_prefix}" "")
        list(JOIN tvx_imports "\n" tvx_exports)
        file(WRITE "${tvx_def}" "LIBRARY ${tvx_dll}.dll\nEXPORTS\n${tvx_exports}\n")
        execute_process(COMMAND "${CMAKE_DLLTOOL}" --input-def "${tvx_def}"
            --output-delaylib "${tvx_lib}" --dllname ${tvx_dll}.dll -k
            RESULT_VARIABLE tvx_status)
        if(NOT tvx_status EQUAL 0)
            message(FATAL_ERROR "dlltool failed to make ${tvx_lib}")
        endif()
    endif()
    list(APPEND TVX_DELAY_LIBS "${tvx_lib}")
    file(STRINGS "${tvx_def}" tvx_names REGEX "^[A-Za-z0-9_]+(@[0-9]+)?$")
    list(REMOVE_ITEM tvx_names EXPORTS)
    foreach(tvx_name ${tvx_names})
        string(APPEND tvx_keep "-u ${tvx_c_prefix}${tvx_name}\n")
    endforeach()
endforeach()
file(WRITE "${TVX_DELAY_KEEP}.new" "${tvx_keep}")
file(COPY_FILE "${TVX_DELAY_KEEP}.new" "${TVX_DELAY_KEEP}" ONLY_IF_DIFFERENT)

# The product exe is defined later (app/); its link line gets the delay
# libraries once the whole tree has been read. Listed as the exe's own
# libraries they come before tvx_win's plain -lwininet -lgdiplus, so the
# linker takes the delay thunks.
function(tvx_harden_product)
    if(TARGET TavolexCheck)
        target_link_libraries(TavolexCheck PRIVATE ${TVX_DELAY_LIBS})
        target_link_options(TavolexCheck PRIVATE "-Wl,@${TVX_DELAY_KEEP}")
        set_property(TARGET TavolexCheck APPEND PROPERTY LINK_DEPENDS "${TVX_DELAY_KEEP}")
        # The exe's first statement calls into it; added here unless app/
        # lists it itself.
        set(tvx_hardening_source "${CMAKE_SOURCE_DIR}/app/process_hardening_win.cpp")
        get_target_property(tvx_exe_sources TavolexCheck SOURCES)
        if(NOT tvx_hardening_source IN_LIST tvx_exe_sources
           AND NOT "process_hardening_win.cpp" IN_LIST tvx_exe_sources)
            target_sources(TavolexCheck PRIVATE "${tvx_hardening_source}")
        endif()
    endif()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL tvx_harden_product)
