# Message-table resources made with mingw-w64's message compiler.
#
#   tavrin_add_message_table(target file.mc)
# compiles file.mc into a MESSAGETABLE resource of target (Windows builds
# only); the message compiler's .rc names its .bin files relatively, so the
# resource compiler is pointed at their folder.
function(tavrin_add_message_table target mc)
  if(NOT WIN32)
    return()
  endif()
  find_program(TAVRIN_WINDMC NAMES ${TOOLCHAIN_PREFIX}-windmc x86_64-w64-mingw32-windmc REQUIRED)
  get_filename_component(name ${mc} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/${name})
  add_custom_command(OUTPUT ${out}/${name}.rc ${out}/${name}.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${TAVRIN_WINDMC} -U -h ${out} -r ${out} ${mc}
    DEPENDS ${mc}
    COMMENT "Message table ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out}/${name}.rc)
  set_source_files_properties(${out}/${name}.rc PROPERTIES COMPILE_OPTIONS "-I${out}")
endfunction()
