# Delay-load import libraries: the DLL is loaded at the first call of one of its functions,
# not at process start. Under Wine every DLL loaded at start (with the DLLs it pulls in) adds
# to the time before Metaview's window appears; the common dialogs and the multimedia library
# are needed only for rare actions.
#
#   bk_delay_import(<dll>)  ->  INTERFACE target delay_<dll>, from cmake/delayimports/<dll>.def
#
# The .def lists every function we call, with its 32-bit stdcall decoration; the decoration is
# dropped for 64-bit builds. Nothing else links these DLLs, so a call of a function missing
# from the list fails to link rather than going unnoticed.
function(bk_delay_import dll)
  set(source ${PROJECT_SOURCE_DIR}/cmake/delayimports/${dll}.def)
  set(dir ${CMAKE_BINARY_DIR}/delayimports)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)
  else()
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
    set(kill_at)
  endif()
  file(GENERATE OUTPUT ${def} CONTENT "${text}")
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} ${kill_at}
    DEPENDS ${source}
    COMMENT "Delay-load import library for ${dll}"
    VERBATIM)
  add_custom_target(delay_${dll}_lib DEPENDS ${lib})
  add_library(delay_${dll} INTERFACE)
  target_link_libraries(delay_${dll} INTERFACE ${lib})
  add_dependencies(delay_${dll} delay_${dll}_lib)
endfunction()
