# Third-party libraries. The mingw cross build compiles them from Debian's
# source packages (fetched by scripts/setup into third_party/); the native and
# MSVC builds find installed packages.
set(TVX_THIRD_PARTY "${CMAKE_SOURCE_DIR}/third_party" CACHE PATH "Folder of third-party sources")
if(MINGW)
    set(TVX_DEPS_FROM_SOURCE_DEFAULT ON)
else()
    set(TVX_DEPS_FROM_SOURCE_DEFAULT OFF)
endif()
option(TVX_DEPS_FROM_SOURCE "Build jsoncpp, pugixml and GoogleTest from source" ${TVX_DEPS_FROM_SOURCE_DEFAULT})

add_library(tvx_jsoncpp INTERFACE)
add_library(tvx_pugixml INTERFACE)

if(TVX_DEPS_FROM_SOURCE)
    set(JSONCPP_WITH_TESTS OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_POST_BUILD_UNITTEST OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_PKGCONFIG_SUPPORT OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_CMAKE_PACKAGE OFF CACHE BOOL "" FORCE)
    set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
    set(BUILD_STATIC_LIBS ON CACHE BOOL "" FORCE)
    set(BUILD_OBJECT_LIBS OFF CACHE BOOL "" FORCE)
    add_subdirectory("${TVX_THIRD_PARTY}/jsoncpp" third_party/jsoncpp EXCLUDE_FROM_ALL)
    target_link_libraries(tvx_jsoncpp INTERFACE jsoncpp_static)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # json_reader.cpp and json_value.cpp include <iostream> but use
        # std::cerr only when built without exceptions, which we never do.
        # With libstdc++ every file that includes it sets up std::cin, cout,
        # cerr and clog and their wide twins before main, which links the
        # library's file streams (std::filebuf) as well. Predefining the
        # header's include guard leaves the include empty; a use of std::cerr
        # would then fail to compile, not misbehave.
        target_compile_definitions(jsoncpp_static PRIVATE _GLIBCXX_IOSTREAM)
    endif()
    # The layout reader parses files held in memory: no XPath and no stream
    # or std::string interface. Both are public definitions of the target, so
    # every user of the header sees the same classes.
    set(PUGIXML_NO_XPATH ON CACHE BOOL "" FORCE)
    set(PUGIXML_NO_STL ON CACHE BOOL "" FORCE)
    add_subdirectory("${TVX_THIRD_PARTY}/pugixml" third_party/pugixml EXCLUDE_FROM_ALL)
    target_link_libraries(tvx_pugixml INTERFACE pugixml::static)
    if(TVX_BUILD_TESTS)
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(TVX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources")
        add_subdirectory("${TVX_GTEST_SOURCE}" third_party/googletest EXCLUDE_FROM_ALL)
    endif()
else()
    find_package(jsoncpp CONFIG REQUIRED)
    if(TARGET JsonCpp::JsonCpp)
        target_link_libraries(tvx_jsoncpp INTERFACE JsonCpp::JsonCpp)
    elseif(TARGET jsoncpp_static)
        target_link_libraries(tvx_jsoncpp INTERFACE jsoncpp_static)
    else()
        target_link_libraries(tvx_jsoncpp INTERFACE jsoncpp_lib)
    endif()
    find_package(pugixml CONFIG REQUIRED)
    target_link_libraries(tvx_pugixml INTERFACE pugixml::pugixml)
    if(TVX_BUILD_TESTS)
        find_package(GTest REQUIRED)
    endif()
endif()
