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

# Delay-load import libraries: their thunks load the DLL on first call
# (LoadLibrary then honours SetDefaultDllDirectories). Only kernel32, msvcrt
# and advapi32 stay plain imports: they and everything they import load before
# wWinMain runs.
# - wininet is a KnownDLL up to Windows 7 only, gdiplus from Windows 10 only:
#   a planted copy beside the exe would otherwise load before any defence.
# - The others are KnownDLLs on Windows, but they pull in DLLs that are not
#   (Wine's user32 and setupapi import version.dll), and whatever they load
#   before wWinMain is found with the exe's folder first.
set(TVX_DELAY_LOADED_DLLS user32 gdi32 ole32 oleaut32 shell32 shlwapi setupapi wininet gdiplus)
set(tvx_delay_dir "${CMAKE_BINARY_DIR}/delayload")
file(MAKE_DIRECTORY "${tvx_delay_dir}")
# C names are decorated differently per architecture: 32-bit x86 puts an
# underscore before every C symbol and "@N" after stdcall ones
# ("__imp__InternetOpenA@20"), x86-64 does neither ("__imp_InternetOpenA").
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(tvx_c_prefix "")
else()
    set(tvx_c_prefix "_")
endif()
# Every export of each DLL, read from mingw's import library once: the names
# the product's calls are matched against when it links.
foreach(tvx_dll ${TVX_DELAY_LOADED_DLLS})
    find_library(TVX_IMPLIB_${tvx_dll} NAMES lib${tvx_dll}.a ${tvx_dll})
    if(NOT TVX_IMPLIB_${tvx_dll})
        message(FATAL_ERROR "No import library for ${tvx_dll}")
    endif()
    set(tvx_exports_file "${tvx_delay_dir}/${tvx_dll}.exports")
    if(NOT EXISTS "${tvx_exports_file}" OR "${TVX_IMPLIB_${tvx_dll}}" IS_NEWER_THAN "${tvx_exports_file}")
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
        file(WRITE "${tvx_exports_file}" "${tvx_exports}\n")
    endif()
endforeach()

# The static libraries a target links, followed through interface libraries
# and aliases (pugixml::static), for the scan of the product's calls.
function(tvx_static_libraries tvx_target tvx_out)
    set(tvx_found "")
    set(tvx_pending ${tvx_target})
    set(tvx_seen "")
    while(tvx_pending)
        list(POP_FRONT tvx_pending tvx_item)
        # target_link_libraries from another folder records "::@(id)" markers;
        # $<LINK_ONLY:x> names x.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" tvx_item "${tvx_item}")
        if(NOT TARGET "${tvx_item}" OR tvx_item IN_LIST tvx_seen)
            continue()
        endif()
        list(APPEND tvx_seen "${tvx_item}")
        get_target_property(tvx_real "${tvx_item}" ALIASED_TARGET)
        if(tvx_real)
            list(APPEND tvx_pending "${tvx_real}")
            continue()
        endif()
        get_target_property(tvx_type "${tvx_item}" TYPE)
        if(tvx_type STREQUAL "STATIC_LIBRARY")
            list(APPEND tvx_found "$<TARGET_FILE:${tvx_item}>")
        endif()
        # A static library's private dependencies appear in its interface.
        if(tvx_item STREQUAL tvx_target)
            get_target_property(tvx_links "${tvx_item}" LINK_LIBRARIES)
        else()
            get_target_property(tvx_links "${tvx_item}" INTERFACE_LINK_LIBRARIES)
        endif()
        if(tvx_links)
            list(APPEND tvx_pending ${tvx_links})
        endif()
    endwhile()
    set(${tvx_out} ${tvx_found} PARENT_SCOPE)
endfunction()

# Just before the product links, cmake/delay_imports.cmake reads the functions
# its objects and libraries call and makes the delay libraries and the list of
# thunks to keep from them. The libraries are named like the import libraries
# and found first (-L), so the exe's -luser32 etc. take the delay thunks, and
# a call missing from them fails the link. A pre-link step belongs to the
# folder that made the target, so app/ calls this.
set(tvx_delay_script "${CMAKE_CURRENT_LIST_DIR}/delay_imports.cmake")
function(tvx_delay_load_calls tvx_target)
    set(tvx_inputs "${tvx_delay_dir}/${tvx_target}-inputs-$<CONFIG>.txt")
    add_custom_command(TARGET ${tvx_target} PRE_LINK
        COMMAND "${CMAKE_COMMAND}" "-DTVX_NM=${CMAKE_NM}" "-DTVX_DLLTOOL=${CMAKE_DLLTOOL}"
            "-DTVX_C_PREFIX=${tvx_c_prefix}" "-DTVX_DLLS=${TVX_DELAY_LOADED_DLLS}"
            "-DTVX_DELAY_DIR=${tvx_delay_dir}" "-DTVX_INPUTS=${tvx_inputs}" -P "${tvx_delay_script}"
        COMMENT "Delay-load libraries for the functions ${tvx_target} calls"
        VERBATIM)
    # A relative -L, from the folder the link runs in: ld orders the import
    # entries of equally named sections by the path of the library they came
    # from, and an absolute build folder would sort before or after the
    # toolchain's /usr/... libraries depending on where it lies
    # (cmake/reproducible.cmake). All -L options come before any -l.
    file(RELATIVE_PATH tvx_delay_lib_dir "${CMAKE_CURRENT_BINARY_DIR}" "${tvx_delay_dir}/lib")
    target_link_options(${tvx_target} BEFORE PRIVATE "-L${tvx_delay_lib_dir}")
    target_link_options(${tvx_target} PRIVATE "-Wl,@${tvx_delay_dir}/keep-thunks.rsp")
    # A changed script or export list relinks, which runs it again.
    set_property(TARGET ${tvx_target} APPEND PROPERTY LINK_DEPENDS "${tvx_delay_script}")
    foreach(tvx_dll ${TVX_DELAY_LOADED_DLLS})
        set_property(TARGET ${tvx_target} APPEND PROPERTY LINK_DEPENDS
            "${tvx_delay_dir}/${tvx_dll}.exports")
    endforeach()
    set_property(TARGET ${tvx_target} PROPERTY TVX_DELAY_INPUTS "${tvx_inputs}")
endfunction()

# The product exe is defined later (app/); the list of what it links is
# complete once the whole tree has been read.
function(tvx_harden_product)
    if(TARGET TavolexCheck)
        get_target_property(tvx_inputs TavolexCheck TVX_DELAY_INPUTS)
        if(NOT tvx_inputs)
            message(FATAL_ERROR "app/ must call tvx_delay_load_calls(TavolexCheck): "
                "without it every system DLL is imported directly")
        endif()
        tvx_static_libraries(TavolexCheck tvx_libraries)
        file(GENERATE OUTPUT "${tvx_inputs}" CONTENT
            "$<JOIN:$<TARGET_OBJECTS:TavolexCheck>;${tvx_libraries},\n>\n")
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
