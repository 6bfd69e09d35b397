# Shared build rules: warnings, sanitizers, and one library target per folder.

if(VANTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments every library for coverage; the fuzz targets
# themselves add the fuzzer's main (tests/fuzz).
if(VANTREL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(vantrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual)
  # GCC 12 reports std::optional<QString> moves as maybe-uninitialized
  # (false positives in optimised builds).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
  endif()
  if(VANTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# vantrel_add_library(<name> DEPS <targets...>)
# Builds every .cpp/.qrc directly in the calling folder, and the headers in
# its include/<name>/ folder, into the library vantrel_<name>.
# Only that include folder is public, so a library sees another library's
# headers only when it links it. Sub-folders other than include/ are not
# built, so a folder may keep an executable's sources in one of its own.
function(vantrel_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc
       ${CMAKE_CURRENT_SOURCE_DIR}/include/${name}/*.h)
  add_library(vantrel_${name} ${VANTREL_LIBRARY_TYPE} ${sources})
  target_include_directories(vantrel_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(vantrel_${name} PUBLIC ${ARG_DEPS})
  vantrel_warnings(vantrel_${name})
endfunction()

# vantrel_add_tests(DEPS <targets...>)
# Every tst_*.cpp in the calling folder becomes one test executable and one
# CTest test, run on Qt's offscreen platform.
function(vantrel_add_tests)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(src IN LISTS tests)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} vantrel_testsupport Qt6::Test)
    vantrel_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VANTREL_BIN_DIR=${CMAKE_BINARY_DIR}/bin;VANTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      TIMEOUT 600)
    if(ARG_LABELS)
      set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
  endforeach()
endfunction()

# The version of project(), as a generated header every target may include
# as "vantrel/Version.h" by linking vantrel_version. The About box shows
# three numbers, so all three must be given.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "project(VERSION) must be MAJOR.MINOR.PATCH, not '${PROJECT_VERSION}'")
endif()
# Who holds the copyright and under which licence, for --version, the
# AppStream file and the package's copyright file.
set(VANTREL_COPYRIGHT_YEARS 2026)
set(VANTREL_COPYRIGHT_HOLDER "Quellan Software")
set(VANTREL_COPYRIGHT "Copyright (C) ${VANTREL_COPYRIGHT_YEARS} ${VANTREL_COPYRIGHT_HOLDER}")
set(VANTREL_LICENSE_SPDX "GPL-3.0-or-later")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/vantrel/Version.h @ONLY)
add_library(vantrel_version INTERFACE)
target_include_directories(vantrel_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
