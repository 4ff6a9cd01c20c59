# Links the 32-bit product so that the unwind tables of unused template and
# inline functions go with those functions (why: cmake/unwind_gc.cmake). Run
# as the product's linker launcher:
#   cmake -DTVX_WORK_DIR=<folder> -P unwind_gc_link.cmake -- <link command...>
#
# 1. The link command with --verbose prints ld's default script.
# 2. The same link with that script, changed to keep only the frame
#    descriptions of the listed functions (none at first), writes a link map.
#    The functions that stayed but lost their description join the list and
#    the link runs again, until every function that stays has its own. The
#    last link is the exe; its script and map stay in the work folder.
# Unlisted descriptions are collected as unused. Listed ones stay inside ld's
# single KEEP statement, so they keep the input order and the end marker of
# crtend.o stays last, as the unwinder needs.
cmake_minimum_required(VERSION 3.21)

# The list settles in three links; more means something else is wrong.
set(kMaxPasses 6)
set(kKeepAllFrames "KEEP(*(.eh_frame*))")
# ld --verbose prints its script between two rules of this many '='.
set(kScriptRuleLength 50)

if(NOT DEFINED TVX_WORK_DIR)
    message(FATAL_ERROR "unwind_gc_link.cmake: TVX_WORK_DIR is not set")
endif()

# The link command is everything after "--".
set(tvx_link "")
set(tvx_output "")
set(tvx_in_command OFF)
set(tvx_next_is_output OFF)
math(EXPR tvx_last "${CMAKE_ARGC} - 1")
foreach(tvx_i RANGE ${tvx_last})
    set(tvx_arg "${CMAKE_ARGV${tvx_i}}")
    if(tvx_in_command)
        list(APPEND tvx_link "${tvx_arg}")
        if(tvx_next_is_output)
            set(tvx_output "${tvx_arg}")
        endif()
        string(COMPARE EQUAL "${tvx_arg}" "-o" tvx_next_is_output)
    elseif(tvx_arg STREQUAL "--")
        set(tvx_in_command ON)
    endif()
endforeach()
if(NOT tvx_link OR NOT tvx_output)
    message(FATAL_ERROR "unwind_gc_link.cmake: no link command with -o after --")
endif()

# A failed run leaves no exe behind: one from an earlier pass may lack frame
# descriptions, and a stale one would look up to date.
macro(tvx_fail tvx_message)
    file(REMOVE "${tvx_output}")
    message(FATAL_ERROR "unwind_gc_link.cmake: ${tvx_message}")
endmacro()

# Runs the link with extra arguments; ld's messages are shown only for the
# last pass or a failed one, so the build log reads like one link.
macro(tvx_run_link tvx_stdout tvx_stderr)
    execute_process(COMMAND ${tvx_link} ${ARGN}
        OUTPUT_VARIABLE ${tvx_stdout} ERROR_VARIABLE ${tvx_stderr} RESULT_VARIABLE tvx_status)
    if(NOT tvx_status EQUAL 0)
        message(NOTICE "${${tvx_stderr}}")
        tvx_fail("the link failed")
    endif()
endmacro()

tvx_run_link(tvx_verbose tvx_messages -Wl,--verbose)
string(REPEAT "=" ${kScriptRuleLength} tvx_rule)
string(FIND "${tvx_verbose}" "\n${tvx_rule}\n" tvx_begin)
string(FIND "${tvx_verbose}" "\n${tvx_rule}\n" tvx_end REVERSE)
if(tvx_begin EQUAL -1 OR NOT tvx_end GREATER tvx_begin)
    tvx_fail("ld --verbose printed no linker script")
endif()
math(EXPR tvx_begin "${tvx_begin} + ${kScriptRuleLength} + 2")
math(EXPR tvx_length "${tvx_end} + 1 - ${tvx_begin}")
string(SUBSTRING "${tvx_verbose}" ${tvx_begin} ${tvx_length} tvx_default_script)
string(FIND "${tvx_default_script}" "${kKeepAllFrames}" tvx_at)
if(tvx_at EQUAL -1)
    tvx_fail("ld's default script no longer holds ${kKeepAllFrames}; see cmake/unwind_gc.cmake")
endif()

file(MAKE_DIRECTORY "${TVX_WORK_DIR}")
set(tvx_script "${TVX_WORK_DIR}/link.ld")
set(tvx_map "${TVX_WORK_DIR}/link.map")
set(tvx_keys "")
set(tvx_settled OFF)
foreach(tvx_pass RANGE 1 ${kMaxPasses})
    list(TRANSFORM tvx_keys PREPEND "\n      .eh_frame$" OUTPUT_VARIABLE tvx_patterns)
    list(JOIN tvx_patterns "" tvx_patterns)
    string(REPLACE "${kKeepAllFrames}" "KEEP(*(.eh_frame${tvx_patterns}))" tvx_text "${tvx_default_script}")
    file(WRITE "${tvx_script}" "${tvx_text}")
    tvx_run_link(tvx_ignored tvx_messages "-Wl,-T,${tvx_script}" "-Wl,-Map,${tvx_map}")

    # Section lines of the map: " .text$<name>" in the part that lists what
    # was dropped, then in the part that lists what stayed.
    file(STRINGS "${tvx_map}" tvx_lines
        REGEX "^( \\.[^ $]+\\$[^ ]+|Discarded input sections|Linker script and memory map)")
    set(tvx_part "")
    set(tvx_stayed "")
    foreach(tvx_line IN LISTS tvx_lines)
        if(tvx_line STREQUAL "Discarded input sections")
            set(tvx_part dropped)
        elseif(tvx_line STREQUAL "Linker script and memory map")
            set(tvx_part stayed)
        elseif(tvx_line MATCHES "^ (\\.[^ $]+)\\$([^ ]+)")
            set(tvx_kind "${CMAKE_MATCH_1}")
            set(tvx_key "${CMAKE_MATCH_2}")
            if(tvx_kind STREQUAL ".eh_frame")
                set("tvx_has_frame_${tvx_key}" ON)
                if(tvx_part STREQUAL "stayed" AND NOT DEFINED "tvx_listed_${tvx_key}")
                    tvx_fail("the frame description of ${tvx_key} stayed unlisted, out of order")
                endif()
            elseif(tvx_part STREQUAL "stayed")
                list(APPEND tvx_stayed "${tvx_key}")
            endif()
        endif()
    endforeach()
    set(tvx_missing "")
    foreach(tvx_key IN LISTS tvx_stayed)
        if(DEFINED "tvx_has_frame_${tvx_key}" AND NOT DEFINED "tvx_listed_${tvx_key}")
            list(APPEND tvx_missing "${tvx_key}")
        endif()
    endforeach()
    if(NOT tvx_missing)
        set(tvx_settled ON)
        break()
    endif()
    list(REMOVE_DUPLICATES tvx_missing)
    foreach(tvx_key IN LISTS tvx_missing)
        set("tvx_listed_${tvx_key}" ON)
    endforeach()
    list(APPEND tvx_keys ${tvx_missing})
endforeach()
if(NOT tvx_settled)
    tvx_fail("the frame descriptions to keep did not settle in ${kMaxPasses} links")
endif()
if(tvx_messages)
    message(NOTICE "${tvx_messages}")
endif()
