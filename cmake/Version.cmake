# The version of project() is the one version of everything shipped: the Windows exe's version
# resource, every program's --version, the man pages, the AppStream release, the packages and
# their file names. It reaches the code through one generated header.
foreach(part MAJOR MINOR PATCH TWEAK)
  if(NOT PROJECT_VERSION_${part})
    set(PROJECT_VERSION_${part} 0)
  endif()
endforeach()
# Always four numbers, as the version resource has them.
set(VUVEREZE_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}")

# The moment the sources were last changed: SOURCE_DATE_EPOCH when the caller sets it (the
# release script takes it from the commit), else the commit's own time, so that two builds of
# one commit date their packages alike.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VUVEREZE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${CMAKE_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE VUVEREZE_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_result ERROR_QUIET)
  if(NOT git_result EQUAL 0 OR NOT VUVEREZE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # Sources outside git and no date given: today, which only such a build can know.
    string(TIMESTAMP VUVEREZE_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
endif()
# string(TIMESTAMP) reads its clock from SOURCE_DATE_EPOCH.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} "${VUVEREZE_SOURCE_DATE_EPOCH}")
string(TIMESTAMP VUVEREZE_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP VUVEREZE_RELEASE_MONTH "%B %Y" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

set(VUVEREZE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VuverezeVersion.h.in
               ${VUVEREZE_GENERATED_DIR}/VuverezeVersion.h @ONLY)
include_directories(${VUVEREZE_GENERATED_DIR})
