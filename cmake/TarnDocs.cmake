# The API reference (Doxygen), built by the `docs` target into build/docs when
# Doxygen is installed; any warning fails it.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  return()
endif()
set(TARN_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${TARN_DOCS_OUTPUT}/Doxyfile @ONLY)
add_custom_target(docs
  COMMAND ${DOXYGEN_EXECUTABLE} ${TARN_DOCS_OUTPUT}/Doxyfile
  COMMENT "API reference in ${TARN_DOCS_OUTPUT}/html"
  VERBATIM)
