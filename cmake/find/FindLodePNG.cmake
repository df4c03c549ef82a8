# Debian's liblodepng-dev has neither a CMake package nor a pkg-config file.
# Defines LodePNG::LodePNG; used by the build and by an installed Tarn package.
find_library(LODEPNG_LIBRARY lodepng)
find_path(LODEPNG_INCLUDE_DIR lodepng.h)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(LodePNG REQUIRED_VARS LODEPNG_LIBRARY LODEPNG_INCLUDE_DIR)
if(LodePNG_FOUND AND NOT TARGET LodePNG::LodePNG)
  add_library(LodePNG::LodePNG UNKNOWN IMPORTED)
  set_target_properties(LodePNG::LodePNG PROPERTIES IMPORTED_LOCATION ${LODEPNG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${LODEPNG_INCLUDE_DIR})
endif()
mark_as_advanced(LODEPNG_LIBRARY LODEPNG_INCLUDE_DIR)
