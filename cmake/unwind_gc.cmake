# Unused code and --gc-sections on 32-bit mingw. Its exceptions unwind with
# DWARF tables (.eh_frame), and ld's default script for PE images keeps every
# one of them: KEEP(*(.eh_frame*)). A frame description points at its
# function, so every function of every object file that is linked at all stays
# in the exe, used or not - most of libstdc++'s stream and locale templates
# for char and wchar_t, for instance. ELF linkers treat .eh_frame specially;
# ld's PE side does not.
#
# Template and inline functions get a description section of their own,
# ".eh_frame$<name>" beside ".text$<name>". cmake/unwind_gc_link.cmake links
# the product with ld's own script in which only the descriptions of the
# functions that stay are kept, found by linking and reading the link map
# until they agree. The descriptions in plain ".eh_frame" stay as before.
#
# x86-64 unwinds with SEH tables instead, and that build is only for tests.
function(tvx_gc_unwind_tables tvx_target)
    if(NOT MINGW OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
        return()
    endif()
    set(tvx_script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/unwind_gc_link.cmake")
    set_property(TARGET ${tvx_target} PROPERTY CXX_LINKER_LAUNCHER
        "${CMAKE_COMMAND}" "-DTVX_WORK_DIR=${CMAKE_BINARY_DIR}/unwind-gc/${tvx_target}"
        -P "${tvx_script}" --)
    set_property(TARGET ${tvx_target} APPEND PROPERTY LINK_DEPENDS "${tvx_script}")
endfunction()
