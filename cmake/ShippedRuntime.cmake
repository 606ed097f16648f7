# The shipped program and hook library run on Windows 95, NT 4 and 2000. They
# are linked with the win32-thread-model runtime (no winpthread: it imports
# GetTickCount64 and AddVectoredExceptionHandler) and with ANSI stand-ins for
# the wide-character calls of that runtime. A map file in the target's build
# folder (property LINK_MAP) records where every linked member came from.
find_program(BRIGHTSWEEP_WIN32_RUNTIME_CXX i686-w64-mingw32-g++-win32 REQUIRED)

function(brightsweep_shipped target)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  set_target_properties(${target} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_SOURCE_DIR}/cmake/link-win32-runtime;${BRIGHTSWEEP_WIN32_RUNTIME_CXX}"
    LINK_MAP ${map})
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/framework/AnsiImports.cpp)
  target_link_options(${target} PRIVATE -Wl,-Map,${map})
endfunction()
