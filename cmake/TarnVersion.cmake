# The project's version as a header: tarn_version, an interface library whose
# include folder holds the generated "tarn/Version.h" (TARN_VERSION_MAJOR,
# _MINOR, _PATCH and TARN_VERSION_STRING, from project(... VERSION ...)).
# A part the project's version leaves out counts as 0.
foreach(part MAJOR MINOR PATCH)
  set(TARN_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if("${TARN_VERSION_${part}}" STREQUAL "")
    set(TARN_VERSION_${part} 0)
  endif()
endforeach()
set(TARN_VERSION_STRING ${PROJECT_VERSION})

set(TARN_GENERATED_INCLUDE ${PROJECT_BINARY_DIR}/generated/include)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${TARN_GENERATED_INCLUDE}/tarn/Version.h @ONLY)
add_library(tarn_version INTERFACE)
add_library(Tarn::version ALIAS tarn_version)
set_target_properties(tarn_version PROPERTIES EXPORT_NAME version)
target_include_directories(tarn_version INTERFACE $<BUILD_INTERFACE:${TARN_GENERATED_INCLUDE}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
