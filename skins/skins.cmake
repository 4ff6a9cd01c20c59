# Expands the layout templates with each language's texts into the three skin
# folders, at configure time, under ${TVX_SKIN_OUTPUT}. Included from
# app/CMakeLists.txt, which copies the folders beside the programs.
set(TVX_SKIN_SOURCE "${CMAKE_CURRENT_LIST_DIR}")
set(TVX_SKIN_OUTPUT "${CMAKE_BINARY_DIR}/skins")
set(TVX_SKIN_LANGUAGES cn en jp)
set(TVX_SKIN_LAYOUTS start.xml checkresultwnd.xml checkresult_setupwnd.xml checkresult.xml checkheader.xml)
file(GLOB TVX_SKIN_IMAGES "${TVX_SKIN_SOURCE}/images/*.png")

function(tvx_expand_skin lang)
    include("${TVX_SKIN_SOURCE}/texts/${lang}.cmake")
    set(out "${TVX_SKIN_OUTPUT}/skin_tavolex_${lang}")
    file(MAKE_DIRECTORY "${out}")

    # Shared pieces, themselves templates.
    file(READ "${TVX_SKIN_SOURCE}/layouts/fonts.inc" FONTS)
    string(CONFIGURE "${FONTS}" FONTS @ONLY)
    file(READ "${TVX_SKIN_SOURCE}/layouts/header.inc" HEADER)
    string(CONFIGURE "${HEADER}" HEADER @ONLY)
    # A component row reads as one line to screen readers ("accrole"); link
    # buttons read as links; verdict icons are named by their verdict.
    set(ROW [[height="62" bkcolor="#FFFFFFFF" bordercolor="#FFE3E8EF" borderround="8" accrole="group"]])
    set(LINK_BUTTON "width=\"${LINK_WIDTH}\" height=\"32\" align=\"center\" textcolor=\"#FF2563EB\" bkcolor=\"#FFEFF4FF\" hotbkcolor=\"#FFDBE6FE\" pushedbkcolor=\"#FFC7D7FD\" borderround=\"6\" accrole=\"link\"")
    set(page_ok "<HorizontalLayout childpadding=\"8\"><Picture image=\"ok.png\" width=\"20\" height=\"20\" accname=\"${TXT_SUPPORTED}\"/><Label text=\"${TXT_SUPPORTED}\" textcolor=\"#FF067647\"/></HorizontalLayout>")
    set(page_no "<HorizontalLayout childpadding=\"8\"><Picture image=\"no.png\" width=\"20\" height=\"20\" accname=\"${TXT_UNSUPPORTED}\"/><Label text=\"${TXT_UNSUPPORTED}\" textcolor=\"#FFB42318\"/></HorizontalLayout>")
    set(page_unknown "<HorizontalLayout childpadding=\"8\"><Picture image=\"unknown.png\" width=\"20\" height=\"20\" accname=\"${TXT_UNKNOWN}\"/><Label text=\"${TXT_UNKNOWN}\" textcolor=\"#FF6B7280\"/></HorizontalLayout>")
    # Verdict tabs: 0 supported, 1 not supported, 2 undecided; memory has two.
    set(VERDICT3 "${page_ok}${page_no}${page_unknown}")
    set(VERDICT2 "${page_ok}${page_no}")

    foreach(layout IN LISTS TVX_SKIN_LAYOUTS)
        configure_file("${TVX_SKIN_SOURCE}/layouts/${layout}" "${out}/${layout}" @ONLY)
    endforeach()
    foreach(image IN LISTS TVX_SKIN_IMAGES)
        configure_file("${image}" "${out}" COPYONLY)
    endforeach()
endfunction()

foreach(lang IN LISTS TVX_SKIN_LANGUAGES)
    tvx_expand_skin(${lang})
endforeach()
set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${TVX_SKIN_SOURCE}/layouts/fonts.inc" "${TVX_SKIN_SOURCE}/layouts/header.inc"
    "${TVX_SKIN_SOURCE}/texts/cn.cmake" "${TVX_SKIN_SOURCE}/texts/en.cmake" "${TVX_SKIN_SOURCE}/texts/jp.cmake")

# Copies the skin folders beside a program on every build, so that a changed
# layout reaches the program even when the program itself is up to date.
function(tvx_copy_skins target)
    # Called from other folders too: no variables of this file's scope here.
    set(commands)
    foreach(lang cn en jp)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory
            "${CMAKE_BINARY_DIR}/skins/skin_tavolex_${lang}" "$<TARGET_FILE_DIR:${target}>/skin_tavolex_${lang}")
    endforeach()
    add_custom_target(${target}_skins ALL ${commands} VERBATIM)
    add_dependencies(${target} ${target}_skins)
    # Programs share an output folder: two copies into it at once (make -j)
    # trip over each other's files, so each copy waits for the one before.
    get_property(previous GLOBAL PROPERTY TVX_LAST_SKIN_COPY)
    if(previous)
        add_dependencies(${target}_skins ${previous})
    endif()
    set_property(GLOBAL PROPERTY TVX_LAST_SKIN_COPY ${target}_skins)
endfunction()
