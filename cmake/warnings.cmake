# One warning set and the native sanitizers, applied through an interface target.
add_library(tvx_warnings INTERFACE)
if(MSVC)
    target_compile_options(tvx_warnings INTERFACE /W4 /utf-8 /EHsc)
else()
    target_compile_options(tvx_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
endif()
if(TVX_SANITIZE)
    target_compile_options(tvx_warnings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(tvx_warnings INTERFACE -fsanitize=address,undefined)
endif()
