# Checks of the shipped 32-bit files, in the i686 build on every machine. The
# static ones read the files on the host; the ones that run them skip, with
# the reason, where the kernel runs no 32-bit code.
set(app ${CMAKE_CURRENT_SOURCE_DIR}/app)
set(run32 bash ${CMAKE_CURRENT_SOURCE_DIR}/run32.sh)

# The shipped files import only what Windows 95, NT 4 and 2000 have, and carry
# the win32-thread-model runtime.
add_test(NAME app_imports
         COMMAND bash ${app}/check_imports.sh ${CMAKE_OBJDUMP} ${CMAKE_NM} ${app}/allowed_imports.txt
                 $<TARGET_FILE:Brightsweep> $<TARGET_PROPERTY:Brightsweep,LINK_MAP>
                 $<TARGET_FILE:Keywatch> $<TARGET_PROPERTY:Keywatch,LINK_MAP>)

# Only instructions an i486 has, in the shipped files: the archive's stripped
# copies hold the code checked.
add_test(NAME app_i486 COMMAND bash ${app}/check_i486.sh ${CMAKE_OBJDUMP} --shipped ${CMAKE_BINARY_DIR}/Brightsweep-1.0.zip
                               $<TARGET_FILE:Brightsweep> $<TARGET_FILE:Keywatch>)

# The instruction check on a file with instructions it must refuse.
add_library(bad_i486_fixture SHARED ${app}/BadInstructions.c)
set_target_properties(bad_i486_fixture PROPERTIES PREFIX "")
add_test(NAME app_i486_refused
         COMMAND bash ${app}/check_refuses.sh ${app}/i486_refusals.txt ${app}/check_i486.sh ${CMAKE_OBJDUMP}
                 $<TARGET_FILE:bad_i486_fixture>)

# The import check on a DLL that imports, and is linked as, it must refuse.
add_library(bad_imports_fixture SHARED ${app}/BadImports.cpp)
set_target_properties(bad_imports_fixture PROPERTIES PREFIX "")
target_link_libraries(bad_imports_fixture PRIVATE comctl32)
target_link_options(bad_imports_fixture PRIVATE -Wl,-Map,${CMAKE_CURRENT_BINARY_DIR}/bad_imports_fixture.map
                    -Wl,--major-subsystem-version,5)
add_test(NAME app_imports_refused
         COMMAND bash ${app}/check_refuses.sh ${app}/imports_refusals.txt ${app}/check_imports.sh ${CMAKE_OBJDUMP} ${CMAKE_NM}
                 ${app}/allowed_imports.txt
                 $<TARGET_FILE:bad_imports_fixture> ${CMAKE_CURRENT_BINARY_DIR}/bad_imports_fixture.map)

# The hook library's exports, data sections, imports, entry point and size,
# the size beside a bare hook library's.
add_library(bare_hook SHARED hook/BareHook.cpp)
set_target_properties(bare_hook PROPERTIES PREFIX "")
brightsweep_bare_dll(bare_hook)
add_test(NAME hook_dll_layout
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/hook/check_keywatch_dll.sh $<TARGET_FILE:Keywatch>
                 ${CMAKE_OBJDUMP} ${CMAKE_NM} ${CMAKE_STRIP} $<TARGET_FILE:bare_hook>)

# The release archive holds what a user unpacks.
add_test(NAME app_package_contents
         COMMAND bash ${app}/check_package.sh contents ${CMAKE_BINARY_DIR}/Brightsweep-1.0.zip)

# The runtime linked as in the shipped files, exercised on several threads,
# and the start-up code seen from a program linked like Brightsweep.exe.
add_executable(runtime_tests ${app}/RuntimeTest.cpp)
target_link_libraries(runtime_tests PRIVATE framework)
brightsweep_shipped(runtime_tests)
add_executable(startup_probe WIN32 ${app}/StartupProbe.cpp)
brightsweep_shipped(startup_probe)
add_dependencies(runtime_tests startup_probe)
add_test(NAME app_runtime_tests COMMAND ${run32} ${CMAKE_SOURCE_DIR}/tools/wine-exec $<TARGET_FILE:runtime_tests>)

# The release archive, unpacked into a fresh prefix, runs.
add_executable(package_probe ${app}/PackageProbe.cpp)
add_dependencies(package_probe release_archive)
add_test(NAME app_package
         COMMAND ${run32} bash ${app}/check_package.sh run ${CMAKE_BINARY_DIR}/Brightsweep-1.0.zip
                 $<TARGET_FILE:package_probe> ${CMAKE_SOURCE_DIR}/tools ${CMAKE_BINARY_DIR})
set_tests_properties(app_runtime_tests app_package PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77)

# tools/test runs just these where the kernel runs no 32-bit code.
set_tests_properties(app_imports app_i486 app_i486_refused app_imports_refused hook_dll_layout app_package_contents
                     app_runtime_tests app_package PROPERTIES LABELS shipped)
