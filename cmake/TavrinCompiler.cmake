# Warnings as errors on both compilers; static runtime on Windows; sanitizers
# on the native build.
set(TAVRIN_SANITIZE "" CACHE STRING "Native sanitizers: 'address' (ASan+UBSan), 'thread' (TSan) or empty")

add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wno-missing-field-initializers)

# Three trees are built for every test run: reuse what was compiled before.
find_program(TAVRIN_CCACHE ccache)
if(TAVRIN_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${TAVRIN_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TAVRIN_CCACHE})
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # Every binary must run alone: no libgcc/libstdc++/libwinpthread DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  if(TAVRIN_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
  elseif(TAVRIN_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g -O1)
    add_link_options(-fsanitize=thread)
  endif()
endif()

# A DLL with its real name: no "lib" prefix, undecorated exports come from
# extern "C" declarations in the sources.
function(tavrin_name_dll target name)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} IMPORT_PREFIX "" )
endfunction()

# Sources of a folder by convention: *.cpp everywhere, except *_win32.cpp
# (Windows build only) and *_native.cpp (native build only).
function(tavrin_glob_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  set(result)
  foreach(f ${all})
    if(f MATCHES "_win32\\.(c|cpp)$")
      if(WIN32)
        list(APPEND result ${f})
      endif()
    elseif(f MATCHES "_native\\.(c|cpp)$")
      if(NOT WIN32)
        list(APPEND result ${f})
      endif()
    else()
      list(APPEND result ${f})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# add_subdirectory for every child folder that has a CMakeLists.txt.
function(tavrin_add_child_dirs)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(c ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${c} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${c}/CMakeLists.txt)
      add_subdirectory(${c})
    endif()
  endforeach()
endfunction()

# One viewer subsystem as a static library "viewer_<name>" from the sources of
# its folder (and of the child folders SUBDIRS names, one per job); headers
# are included as "<name>/file.h" or "<name>/<subdir>/file.h" from the viewer
# root.
#   tavrin_viewer_library(name [SUBDIRS ...] [LIBS ...] [WIN32_LIBS ...])
function(tavrin_viewer_library name)
  cmake_parse_arguments(L "" "" "SUBDIRS;LIBS;WIN32_LIBS" ${ARGN})
  tavrin_glob_sources(src ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(dir ${L_SUBDIRS})
    tavrin_glob_sources(sub ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    list(APPEND src ${sub})
  endforeach()
  if(NOT src)
    return()
  endif()
  add_library(viewer_${name} STATIC ${src})
  target_include_directories(viewer_${name} PUBLIC ${CMAKE_SOURCE_DIR}/viewer)
  target_link_libraries(viewer_${name} PUBLIC ${L_LIBS})
  if(WIN32)
    target_link_libraries(viewer_${name} PUBLIC ${L_WIN32_LIBS})
  else()
    find_package(Threads REQUIRED)
    target_link_libraries(viewer_${name} PUBLIC Threads::Threads)
  endif()
endfunction()
