# The same sources give the same exe bytes, whatever folder they are built in
# and whenever, so that anyone can rebuild a release and compare its SHA-256
# with the one published (scripts/package prints it).
# - ld writes the link time into the PE header, and so into its checksum,
#   unless told not to; the checksum then depends on the bytes alone.
# - __FILE__ (assert and the like, in our code or a library's) and debug
#   information name a source by its absolute path; the maps make those names
#   relative to the source and build folders. The build folder usually lies
#   inside the source folder; gcc uses the last map that matches, so it comes
#   last.
# Included before the third-party libraries, so that they are built the same.
# tests/hardening/check_pe.sh checks the time stamp, the checksum and that no
# build folder shows in the exe.
if(NOT MINGW)
    return()
endif()
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
