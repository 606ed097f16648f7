# The shipped program and hook library run on Windows 95, NT 3.51, 4 and 2000,
# on an i486. They are linked with the win32-thread-model runtime (no
# winpthread: it imports GetTickCount64 and AddVectoredExceptionHandler), with
# ANSI stand-ins for the wide-character calls of that runtime, and with the
# runtime members that Debian builds for the Pentium Pro rebuilt for the i486
# (cmake/build-i486-runtime). A map file in the target's build folder
# (property LINK_MAP) records where every linked member came from.
find_program(BRIGHTSWEEP_WIN32_RUNTIME_CXX i686-w64-mingw32-g++-win32 REQUIRED)
find_program(BRIGHTSWEEP_WIN32_RUNTIME_CC i686-w64-mingw32-gcc-win32 REQUIRED)
file(GLOB BRIGHTSWEEP_GCC_SOURCE /usr/src/gcc-12/gcc-12*.tar.xz)
if(NOT BRIGHTSWEEP_GCC_SOURCE)
  message(FATAL_ERROR "GCC's sources are missing: install gcc-12-source (tools/deps)")
endif()

set(BRIGHTSWEEP_I486_RUNTIME ${CMAKE_BINARY_DIR}/runtime-i486)
set(i486_objects)
foreach(name unwind-dw2 unwind-dw2-fde emutls eh_personality eh_alloc eh_catch eh_terminate eh_term_handler new_op
             vmi_class_type_info pseudo-reloc)
  list(APPEND i486_objects ${BRIGHTSWEEP_I486_RUNTIME}/${name}.o)
endforeach()
add_custom_command(OUTPUT ${i486_objects} ${BRIGHTSWEEP_I486_RUNTIME}/crt2.o ${BRIGHTSWEEP_I486_RUNTIME}/dllcrt2.o
                   COMMAND ${CMAKE_SOURCE_DIR}/cmake/build-i486-runtime ${BRIGHTSWEEP_I486_RUNTIME}
                           ${BRIGHTSWEEP_GCC_SOURCE} ${BRIGHTSWEEP_WIN32_RUNTIME_CC} ${BRIGHTSWEEP_WIN32_RUNTIME_CXX}
                   DEPENDS ${CMAKE_SOURCE_DIR}/cmake/build-i486-runtime ${CMAKE_SOURCE_DIR}/framework/StartupExe.c
                           ${CMAKE_SOURCE_DIR}/framework/StartupDll.c ${CMAKE_SOURCE_DIR}/framework/PseudoReloc.c
                   COMMENT "Building the runtime for the i486")
add_custom_target(i486_runtime DEPENDS ${i486_objects})
set_source_files_properties(${i486_objects} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

function(brightsweep_shipped target)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  set_target_properties(${target} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_SOURCE_DIR}/cmake/link-win32-runtime;${BRIGHTSWEEP_WIN32_RUNTIME_CXX}"
    LINK_MAP ${map})
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/framework/AnsiImports.cpp
                 ${CMAKE_SOURCE_DIR}/framework/RuntimeStrings.cpp
                 ${CMAKE_SOURCE_DIR}/framework/RuntimeCowStrings.cpp ${i486_objects})
  target_link_libraries(${target} PRIVATE ansiimports)
  add_dependencies(${target} i486_runtime)
  # -B: the start-up objects crt2.o and dllcrt2.o from there. --tsaware: under
  # Terminal Services the system then names the shared Windows folder to the
  # program, not a folder of the user's own.
  target_link_options(${target} PRIVATE -Wl,-Map,${map} -Wl,--tsaware -B${BRIGHTSWEEP_I486_RUNTIME}/)
endfunction()
