# Compiler settings shared by every target of ours, and the helper that picks
# the platform files of the target OS.

if(WIN32)
    set(TQ_PLATFORM_SUFFIX _win32)
    set(TQ_OTHER_SUFFIX _linux)
else()
    set(TQ_PLATFORM_SUFFIX _linux)
    set(TQ_OTHER_SUFFIX _win32)
endif()

set(TQ_WARNINGS -Wall -Wextra -Wpedantic -Werror)

function(tq_target_defaults target)
    target_compile_options(${target} PRIVATE ${TQ_WARNINGS})
    if(WIN32)
        # Unicode Win32 API, no min/max macros, Windows 8.1 as the floor.
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE NOMINMAX
                                   WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0603)
    endif()
endfunction()

if(WIN32)
    # One self-contained executable per program: Wine and users need no
    # MinGW runtime DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(TQ_SANITIZE_THREADS)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1)
    add_link_options(-fsanitize=thread)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options(-Wno-maybe-uninitialized -Wno-tsan)
    endif()
endif()

if(TQ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined -O1)
    add_link_options(-fsanitize=address,undefined)
    # GCC 12's flow analysis misfires on sanitizer-instrumented library code
    # (std::function inside std::regex); the plain builds keep the warning.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options(-Wno-maybe-uninitialized)
    endif()
endif()

# tq_collect_sources(<var> <dir> [EXCLUDE_DIRS d...] [EXCLUDE_NAMES f...])
# Every .cpp under <dir>, without the other platform's files.
function(tq_collect_sources out dir)
    cmake_parse_arguments(ARG "" "" "EXCLUDE_DIRS;EXCLUDE_NAMES" ${ARGN})
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*.cpp)
    set(result)
    foreach(f IN LISTS files)
        file(RELATIVE_PATH rel ${dir} ${f})
        get_filename_component(name ${f} NAME)
        get_filename_component(stem ${f} NAME_WE)
        set(skip FALSE)
        if(stem MATCHES "${TQ_OTHER_SUFFIX}$")
            set(skip TRUE)
        endif()
        foreach(d IN LISTS ARG_EXCLUDE_DIRS)
            if(rel MATCHES "^${d}/")
                set(skip TRUE)
            endif()
        endforeach()
        if(name IN_LIST ARG_EXCLUDE_NAMES)
            set(skip TRUE)
        endif()
        if(NOT skip)
            list(APPEND result ${f})
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()
