# brightsweep_bare_dll(target): links a DLL that the system loads into other
# processes without any runtime: no C or C++ runtime library, no start-up code
# (DllMain is the entry point), no exceptions and no unwind tables, only the
# import libraries of system DLLs. A link map goes beside it (property
# LINK_MAP).
function(brightsweep_bare_dll target)
  if(BRIGHTSWEEP_FLAVOUR STREQUAL "i686")
    set(entry _DllMain@12)
  else()
    set(entry DllMain)
  endif()
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  set_target_properties(${target} PROPERTIES LINK_MAP ${map})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                         -fno-unwind-tables -fno-threadsafe-statics -fno-stack-protector)
  # --tsaware: as the program, so that a Terminal Server names it the
  # system's own Windows folder.
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry,${entry} -Wl,--disable-runtime-pseudo-reloc
                      -Wl,--tsaware -Wl,-Map,${map})
  target_link_libraries(${target} PRIVATE kernel32 user32 advapi32)
endfunction()
