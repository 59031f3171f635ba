# What a Windows build adds around the two DLLs: their export tables (cmake/windows/Exports.txt), the
# import libraries for Microsoft's linker, the checks of what the DLLs export and import, and the
# distribution directory and zip of each architecture.
# Whatever uses Boost.Asio needs Windows Sockets, and its acceptors (the tests' fronts) need mswsock; a
# DLL or program imports only the DLLs it calls into.
link_libraries(ws2_32 mswsock)

find_program(NARV_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 PATHS /usr/lib/llvm-14/bin REQUIRED)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(NARV_WINDOWS_ARCH win64)
  set(narv_msvc_column 3)
  set(narv_dlltool_machine i386:x86-64)
else()
  set(NARV_WINDOWS_ARCH win32)
  set(narv_msvc_column 2)
  set(narv_dlltool_machine i386)
endif()
set(NARV_WINDOWS_DIST ${CMAKE_BINARY_DIR}/dist/narv-${PROJECT_VERSION}-${NARV_WINDOWS_ARCH})

# Sets <library>_mingw_names and <library>_msvc_names (this architecture's) from the export table.
function(narv_windows_export_names library)
  file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/windows/Exports.txt rows REGEX "^${library} ")
  set(mingw "")
  set(msvc "")
  foreach(row ${rows})
    string(REGEX REPLACE " +" ";" columns "${row}")
    list(GET columns 1 mingw_name)
    list(GET columns ${narv_msvc_column} msvc_name)
    list(APPEND mingw ${mingw_name})
    list(APPEND msvc ${msvc_name})
  endforeach()
  set(${library}_mingw_names ${mingw} PARENT_SCOPE)
  set(${library}_msvc_names ${msvc} PARENT_SCOPE)
endfunction()

# Makes <target> a DLL named <target>.dll that exports each function under both names, with a MinGW
# import library lib<target>.dll.a and a Microsoft one <target>.lib beside it.
function(narv_windows_dll target)
  narv_windows_export_names(${target})
  # One module definition for the DLL's link and for Microsoft's import library: Microsoft's name is an
  # alias of the function g++ compiled.
  set(def_text "LIBRARY ${target}.dll\nEXPORTS\n")
  foreach(mingw_name msvc_name IN ZIP_LISTS ${target}_mingw_names ${target}_msvc_names)
    string(APPEND def_text "  ${mingw_name}\n  ${msvc_name}=${mingw_name}\n")
  endforeach()
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
  file(WRITE ${def} "${def_text}")

  target_sources(${target} PRIVATE ${def})
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${NARV_LLVM_DLLTOOL} -m ${narv_dlltool_machine} -d ${def} -D ${target}.dll
            -l $<TARGET_FILE_DIR:${target}>/${target}.lib
    COMMENT "Import library ${target}.lib for Microsoft's linker"
    VERBATIM)

  add_test(NAME windows_${target}_tables
           COMMAND bash ${CMAKE_SOURCE_DIR}/tools/windows/check-dll.sh ${NARV_WINDOWS_ARCH}
                   $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/${target}.lib
                   $<TARGET_LINKER_FILE:${target}> ${${target}_mingw_names} ${${target}_msvc_names})
  set_tests_properties(windows_${target}_tables PROPERTIES LABELS windows-static)
endfunction()

# The distribution of this architecture: both DLLs (without debugging information), their import libraries for both linkers, the three
# exported headers and a short readme, as a directory and as a zip beside it.
function(narv_windows_dist)
  set(dist ${NARV_WINDOWS_DIST})
  set(copies "")
  foreach(target narvtraderapi narvmduserapi)
    list(APPEND copies
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> $<TARGET_LINKER_FILE:${target}>
              $<TARGET_FILE_DIR:${target}>/${target}.lib ${dist}
      # The debugging information describes g++'s view of the code; no Windows debugger reads it.
      COMMAND ${CMAKE_STRIP} --strip-debug ${dist}/${target}.dll)
  endforeach()
  add_custom_target(narv_windows_dist ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dist} ${dist}.zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}
    ${copies}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/traderapi/NarvSqelApiCommon.h
            ${CMAKE_SOURCE_DIR}/traderapi/NarvSqelTraderApi.h ${CMAKE_SOURCE_DIR}/mdapi/NarvSqelMdApi.h ${dist}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/cmake/windows/README.txt
            ${dist}/README.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist
            ${CMAKE_COMMAND} -E tar cf ${dist}.zip --format=zip narv-${PROJECT_VERSION}-${NARV_WINDOWS_ARCH}
    DEPENDS narvtraderapi narvmduserapi
    COMMENT "Distribution ${dist}.zip"
    VERBATIM)
endfunction()
