# Two builds of one commit give the same bytes, in whatever folder and at whatever time they
# are made: the folders are mapped out of what the compiler records (file names in assertions,
# debug sections), and a Windows program's header gets no link time. A Debug build keeps its
# real paths, for the debugger.
if(NOT MSVC)
  add_compile_options(
    "$<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<NOT:$<CONFIG:Debug>>>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
    # Last, so that it wins for a build folder inside the sources.
    "$<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<NOT:$<CONFIG:Debug>>>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
endif()
if(WIN32 AND NOT MSVC)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
# Qt's resource compiler records each file's time from format 2 on, and the embedded font is
# cut anew by every build: format 1 has the same data without the times.
set(VUVEREZE_RCC_OPTIONS --format-version 1)
