# One way to build every module: warnings, sanitizers and include roots are set here only.

option(TARN_WERROR "Treat compiler warnings as errors" OFF)

# Every target of ours gets the same warnings: all of these are clean today.
set(TARN_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
  -Wcast-qual -Wmissing-declarations -Wredundant-decls -Wundef -Wextra-semi -Wformat=2)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND TARN_WARNINGS -Wduplicated-cond -Wlogical-op)
endif()
if(TARN_WERROR)
  list(APPEND TARN_WARNINGS -Werror)
endif()

function(tarn_set_warnings target)
  target_compile_options(${target} PRIVATE ${TARN_WARNINGS})
endfunction()

if(TARN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TARN_SANITIZE_THREAD)
  if(TARN_SANITIZE)
    message(FATAL_ERROR "TARN_SANITIZE_THREAD and TARN_SANITIZE exclude each other")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# A shared module exports its namespaces' symbols and nothing else: the
# helpers of other namespaces and the template code of the standard library
# compiled into it stay inside (a version script rather than marks on every
# declaration, so the headers stay as they are).
function(tarn_export_api name export)
  if(export STREQUAL "skel")
    set(namespaces skel)
  elseif(export STREQUAL "path")
    set(namespaces tarn)
  else()
    # The glue's page loader is a class of the global namespace.
    set(namespaces TarnFramework TarnSkel TarnSkelCustom TarnFrameworkSkelTextureLoader)
  endif()
  # Mangled names: ld matches a quoted (demangled) pattern literally, so the
  # globs are on the names as the object files spell them.
  set(patterns "")
  foreach(ns ${namespaces})
    string(LENGTH ${ns} length)
    set(n ${length}${ns})
    foreach(pattern _ZN${n}* _ZNK${n}* _ZT[ISVT]N${n}* _ZT[ISV]${n}* _ZGVN${n}* _ZTh*${n}* _ZTv*${n}*)
      string(APPEND patterns "    ${pattern};\n")
    endforeach()
  endforeach()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
  file(CONFIGURE OUTPUT ${script} CONTENT "{\n  global:\n${patterns}  local: *;\n};\n")
  target_link_options(${name} PRIVATE LINKER:--version-script=${script})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${script})
endfunction()

# tarn_add_module(NAME DIR <dir> EXPORT <name> [PUBLIC_INCLUDE <dir>...] [DEPS <target>...]
#                 [EXCLUDE <file>...] [EXTRA <file>...])
# A library from every .cpp under DIR but EXCLUDE, and EXTRA, static or, with
# BUILD_SHARED_LIBS, shared; other projects know it as Tarn::<name> and link
# libtarn_<name>.
function(tarn_add_module name)
  cmake_parse_arguments(M "" "DIR;EXPORT" "PUBLIC_INCLUDE;DEPS;EXCLUDE;EXTRA" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${M_DIR}/*.cpp)
  if(M_EXCLUDE)
    list(REMOVE_ITEM sources ${M_EXCLUDE})
  endif()
  add_library(${name} ${sources} ${M_EXTRA})
  add_library(Tarn::${M_EXPORT} ALIAS ${name})
  # Before 1.0 a minor version may break the interface, so it is in the SONAME.
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${M_EXPORT} OUTPUT_NAME tarn_${M_EXPORT}
    VERSION ${TARN_VERSION_MAJOR}.${TARN_VERSION_MINOR}.${TARN_VERSION_PATCH}
    SOVERSION ${TARN_VERSION_MAJOR}.${TARN_VERSION_MINOR})
  target_include_directories(${name} PUBLIC "$<BUILD_INTERFACE:${M_PUBLIC_INCLUDE}>"
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  # Every header may include "tarn/Version.h", so every module carries it.
  target_link_libraries(${name} PUBLIC ${M_DEPS} tarn_version)
  if(BUILD_SHARED_LIBS)
    tarn_export_api(${name} ${M_EXPORT})
  endif()
  # A shared module links every library it uses, so a module reaching up to
  # one that links it fails here. (With clang the sanitizer runtimes come
  # with the program, not the library.)
  if(BUILD_SHARED_LIBS
     AND NOT (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (TARN_SANITIZE OR TARN_SANITIZE_THREAD OR TARN_FUZZ)))
    target_link_options(${name} PRIVATE LINKER:--no-undefined)
  endif()
  tarn_set_warnings(${name})
endfunction()

# tarn_add_test(NAME SOURCES <file>... DEPS <target>... [LABEL unit|sound|display|e2e|install])
# A GoogleTest binary whose cases ctest lists one by one; it runs in the game's
# working directory. One label per binary (ctest -L picks by it).
function(tarn_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gtest_main)
  tarn_set_warnings(${name})
  set(label unit)
  if(T_LABEL)
    set(label ${T_LABEL})
  endif()
  # Windows on one virtual display take focus from each other (and GLFW
  # releases keys on focus loss), so tests with a window run one at a time.
  set(lock tarn_none)
  if(label MATCHES "^(display|e2e|install)$")
    set(lock x_display)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${TARN_WORKDIR}
    PROPERTIES LABELS ${label} RESOURCE_LOCK ${lock}
      ENVIRONMENT "ALSOFT_CONF=${PROJECT_SOURCE_DIR}/tests/sound/alsoft.conf"
    DISCOVERY_TIMEOUT 60)
endfunction()
