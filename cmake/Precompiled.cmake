# Nearly every file of the suite begins with windows.h and the standard
# library, and every test file with GoogleTest as well. Parsed once for the
# build instead of once per file, they were more than half of its time.
# Applied to every target of the project once all are defined, so that a new
# program cannot miss it: GoogleTest programs take the test set, the others
# the product set. A header that a file includes itself costs nothing more.
set(QV_PRODUCT_PCH <windows.h> <commctrl.h> <string> <vector> <memory> <cstdio> <cstdint> <cstring> <algorithm>
    <functional>)
set(QV_TEST_PCH ${QV_PRODUCT_PCH} <thread> <gtest/gtest.h>)

file(WRITE ${CMAKE_BINARY_DIR}/pch/Empty.cpp "// The host of the shared precompiled headers.\n")
add_library(qv_product_pch OBJECT ${CMAKE_BINARY_DIR}/pch/Empty.cpp)
target_precompile_headers(qv_product_pch PRIVATE ${QV_PRODUCT_PCH})
if(TARGET gtest)
  add_library(qv_test_pch OBJECT ${CMAKE_BINARY_DIR}/pch/Empty.cpp)
  target_link_libraries(qv_test_pch PRIVATE gtest)
  target_precompile_headers(qv_test_pch PRIVATE ${QV_TEST_PCH})
endif()

function(qv_targets_below directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    qv_targets_below(${subdirectory} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(qv_share_precompiled_headers)
  qv_targets_below(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$" OR target MATCHES "^(qv_product_pch|qv_test_pch)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    if(NOT sources MATCHES "\\.cpp(;|$)")
      continue()
    endif()
    get_target_property(libraries ${target} LINK_LIBRARIES)
    # GCC 12 takes std::string's inlined copies for out-of-bounds ones (its
    # bug 105329) once <string> comes through the precompiled header: the
    # system header's exemption from warnings is lost on the way.
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
    if(libraries MATCHES "(^|;)gtest(_main)?(;|$)")
      target_precompile_headers(${target} REUSE_FROM qv_test_pch)
    else()
      target_precompile_headers(${target} REUSE_FROM qv_product_pch)
    endif()
  endforeach()
endfunction()
qv_share_precompiled_headers()
