# cmake/delay_imports.cmake on a small program: the delay libraries hold the
# functions the objects call and nothing else, a DLL nothing calls gets an
# empty library, the linked exe imports neither DLL directly, and a call the
# libraries lack fails the link rather than importing the DLL directly.
# Run with cmake -P; the variables come from tests/hardening/CMakeLists.txt.
cmake_minimum_required(VERSION 3.20)

set(failures 0)
macro(check ok_variable what)
    if(${ok_variable})
        message(STATUS "PASS ${what}")
    else()
        message(STATUS "FAIL ${what}")
        math(EXPR failures "${failures} + 1")
    endif()
endmacro()
# Sets status, out, err, and ok when the command succeeded.
macro(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(COMPARE EQUAL "${status}" "0" ok)
endmacro()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/calls" "${WORK}/fewer")
foreach(name IN LISTS DLLS)
    configure_file("${EXPORTS_DIR}/${name}.exports" "${WORK}/calls/${name}.exports" COPYONLY)
    configure_file("${EXPORTS_DIR}/${name}.exports" "${WORK}/fewer/${name}.exports" COPYONLY)
endforeach()
run("${CXX}" -c "${FIXTURE}" -o "${WORK}/calls.o")
check(ok "the program compiles (${err})")
run("${CXX}" -DTVX_WITHOUT_BEEP -c "${FIXTURE}" -o "${WORK}/fewer.o")
# The product's list names its compiled resources too, which have no symbols.
file(WRITE "${WORK}/calls.txt" "${WORK}/calls.o\n${WORK}/resource.res\n")
file(WRITE "${WORK}/fewer.txt" "${WORK}/fewer.o\n")

foreach(variant calls fewer)
    # Not through run(): a macro's arguments lose their quotes, and the DLL
    # list would fall apart at its semicolons.
    execute_process(COMMAND "${CMAKE_COMMAND}" "-DTVX_NM=${NM}" "-DTVX_DLLTOOL=${DLLTOOL}"
        "-DTVX_C_PREFIX=${C_PREFIX}" "-DTVX_DLLS=${DLLS}" "-DTVX_DELAY_DIR=${WORK}/${variant}"
        "-DTVX_INPUTS=${WORK}/${variant}.txt" -P "${SCRIPT}"
        RESULT_VARIABLE status ERROR_VARIABLE err)
    string(COMPARE EQUAL "${status}" "0" ok)
    check(ok "${variant}: the script runs (${err})")
endforeach()

# stdcall names carry their argument bytes on 32-bit x86 only.
if(C_PREFIX)
    set(beep "MessageBeep@4")
    set(alloc "GdipAlloc@4")
else()
    set(beep "MessageBeep")
    set(alloc "GdipAlloc")
endif()
set(lib "${WORK}/calls/lib")
file(READ "${lib}/user32.def" user32_def)
file(READ "${lib}/gdiplus.def" gdiplus_def)
string(COMPARE EQUAL "${user32_def}" "LIBRARY user32.dll\nEXPORTS\n${beep}\n" ok)
check(ok "user32 holds the dllimport call only: ${user32_def}")
string(COMPARE EQUAL "${gdiplus_def}" "LIBRARY gdiplus.dll\nEXPORTS\n${alloc}\n" ok)
check(ok "gdiplus holds the plain call only: ${gdiplus_def}")
file(READ "${lib}/libwininet.a" wininet_lib)
string(COMPARE EQUAL "${wininet_lib}" "!<arch>\n" ok)
check(ok "wininet, which nothing calls, gets an empty library")
file(READ "${WORK}/calls/keep-thunks.rsp" keep)
string(COMPARE EQUAL "${keep}"
    "--require-defined=${C_PREFIX}${beep}\n--require-defined=${C_PREFIX}${alloc}\n" ok)
check(ok "both thunks are required at link time: ${keep}")

# Linked like the product: the delay libraries first, the toolchain's
# -luser32 etc. after.
run("${CXX}" "${WORK}/calls.o" -o "${WORK}/calls.exe" "-L${lib}" "-Wl,@${WORK}/calls/keep-thunks.rsp"
    -luser32 -lgdiplus)
check(ok "the program links with the delay libraries (${err})")
run("${OBJDUMP}" -p "${WORK}/calls.exe")
string(FIND "${out}" "The Delay Import Tables" delay_part)
string(SUBSTRING "${out}" 0 ${delay_part} imports)
string(TOLOWER "${imports}" imports)
string(REGEX MATCH "dll name: (user32|gdiplus)" direct "${imports}")
string(COMPARE EQUAL "${direct}" "" ok)
check(ok "neither DLL is imported directly (${direct})")

run("${CXX}" "${WORK}/calls.o" -o "${WORK}/missing.exe" "-L${WORK}/fewer/lib"
    "-Wl,@${WORK}/fewer/keep-thunks.rsp" -luser32 -lgdiplus)
string(FIND "${err}" "MessageBeep" named)
if(NOT ok AND NOT named EQUAL -1)
    set(ok ON)
else()
    set(ok OFF)
endif()
check(ok "a call without a thunk fails the link, naming it")

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} check(s) failed")
endif()
