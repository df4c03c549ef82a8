# The libraries for other programs: headers under include/ with the paths the
# tree includes them by ("skel/Skeleton.h", "tarn/Path.h",
# "framework/core/StartUp.h"), the libraries, the CMake package Tarn
# (components skel and framework) and the pkg-config files tarn-skel and
# tarn-framework.
include(CMakePackageConfigHelpers)
set(TARN_CMAKE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tarn)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/lib/skel/include/skel ${PROJECT_SOURCE_DIR}/lib/path/include/tarn
  ${TARN_GENERATED_INCLUDE}/tarn ${PROJECT_SOURCE_DIR}/framework DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

install(TARGETS tarn_path skel tarn_version EXPORT TarnSkelTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tarn_graphics tarn_core tarn_text tarn_sound tarn_widgets tarn_skel_glue TarnFramework
  EXPORT TarnFrameworkTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(set Skel Framework)
  install(EXPORT Tarn${set}Targets NAMESPACE Tarn:: DESTINATION ${TARN_CMAKE_DESTINATION})
endforeach()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TarnConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/TarnConfig.cmake INSTALL_DESTINATION ${TARN_CMAKE_DESTINATION})
# Before 1.0 a new minor version may break the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/TarnConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/TarnConfig.cmake ${PROJECT_BINARY_DIR}/package/TarnConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/find/FindLodePNG.cmake DESTINATION ${TARN_CMAKE_DESTINATION})
install(FILES ${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp DESTINATION ${TARN_CMAKE_DESTINATION}
  RENAME tarn-lsan.supp)

# The examples, which the reference shows, as a project of their own.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The .pc files find the prefix from their own folder, so a moved install
# (DESTDIR, a copied tree) still builds.
file(RELATIVE_PATH TARN_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
foreach(pc tarn-skel tarn-framework)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${PROJECT_BINARY_DIR}/package/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
