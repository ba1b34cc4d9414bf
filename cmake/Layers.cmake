# Include folders along the layers. Sources include by path from the repository root
# ("format/FormatTable.h"), but no target sees the whole root: each target gets an include
# folder of its own in the build tree holding links to the headers of the folders it is made
# of, and passes it on to what links it. A header of a layer that a target does not link is
# then not found at all, and the compiler says so where the include is.
#
#   vz_layer(TARGET FOLDER...)  FOLDER relative to the repository root, its headers only (not
#                               those of its subfolders, which are layers of their own)
function(vz_layer target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  foreach(folder ${ARGN})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      if(NOT EXISTS ${root}/${folder}/${name})
        file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
      endif()
    endforeach()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
