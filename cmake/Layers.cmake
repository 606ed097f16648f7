# Each library states which headers it offers: they are linked into an include
# root of the library's own (build/include/TARGET), which the library and
# whoever links it see. Sources include headers as "folder/Name.h" and see
# nothing of the tree but their own library's headers and those of the
# libraries they link, so an include across the layers fails to build. A new
# header takes a new configure run (tools/build does one when CMakeLists.txt
# files change; touch one to force it).

# brightsweep_headers(target folder [header...]): without headers, every .h
# file directly in folder.
function(brightsweep_headers target folder)
  set(headers ${ARGN})
  if(NOT headers)
    file(GLOB headers RELATIVE ${CMAKE_SOURCE_DIR}/${folder} CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header ${headers})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
