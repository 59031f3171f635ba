# Lets only the exported static functions of the interface leave a shared library <target>.
# Linux: hidden visibility covers our own code; the version script <target>.map beside the library's
# CMakeLists.txt also keeps the template instances of the standard library and Boost that are compiled
# into it from leaving it. Windows: the DLL exports what cmake/windows/Exports.txt lists for it.
function(narv_exported_library target)
  if(WIN32)
    narv_windows_dll(${target})
    return()
  endif()
  set(symbols ${CMAKE_CURRENT_SOURCE_DIR}/${target}.map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${symbols})
  set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 6 LINK_DEPENDS ${symbols})
endfunction()
