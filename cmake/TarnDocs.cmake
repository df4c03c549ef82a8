# The API reference (Doxygen), built by the `docs` target (`tarn_docs` when
# Tarn is another project's subproject) into build/docs when Doxygen is
# installed; any warning fails it. The install puts it under
# share/doc/tarn/html, building it first.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  return()
endif()
if(TARN_TOP_LEVEL)
  set(TARN_DOCS_TARGET docs)
else()
  set(TARN_DOCS_TARGET tarn_docs)
endif()
set(TARN_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${TARN_DOCS_OUTPUT}/Doxyfile @ONLY)
add_custom_target(${TARN_DOCS_TARGET}
  COMMAND ${DOXYGEN_EXECUTABLE} ${TARN_DOCS_OUTPUT}/Doxyfile
  COMMENT "API reference in ${TARN_DOCS_OUTPUT}/html"
  VERBATIM)
if(TARN_INSTALL)
  install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${PROJECT_BINARY_DIR}\" --target ${TARN_DOCS_TARGET}
                                RESULT_VARIABLE tarn_docs_result)
                if(NOT tarn_docs_result EQUAL 0)
                  message(FATAL_ERROR \"the API reference did not build\")
                endif()")
  install(DIRECTORY ${TARN_DOCS_OUTPUT}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/html)
endif()
