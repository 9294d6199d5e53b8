# Warnings and sanitizer flags for our own targets, and the helper that turns a folder of
# sources into one library.

add_library(sw_warnings INTERFACE)
target_compile_options(sw_warnings INTERFACE -Wall -Wextra -Wpedantic)

if(SW_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
find_library(SW_GLU_LIBRARY GLU REQUIRED)

# sw_library(<name> [DEPS <targets>...])
# One library per folder: every .cpp of the calling folder (not of its sub-folders).
function(sw_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    if(NOT sources)
        # A layer whose code is still to come: headers only.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE sw_warnings)
endfunction()
