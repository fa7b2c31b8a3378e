# Warnings and sanitizers for the project's own targets only.
add_library(kestrix_options INTERFACE)
# GCC 12 flags designated initializers that leave members at their defaults, which is how
# the value types are meant to be built.
target_compile_options(kestrix_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
# GCC 12 at -O2 reports overlapping copies inside std::string's operator+ that cannot happen
# (GCC bug 105329, fixed in GCC 13).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(kestrix_options INTERFACE -Wno-restrict)
endif()
# A unity batch includes each source like a header, and GCC takes a test fixture of a source's
# anonymous namespace, used by the test classes beside it, for one shared between sources.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(kestrix_options INTERFACE -Wno-subobject-linkage)
endif()
if(KESTRIX_SANITIZE)
  target_compile_options(kestrix_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(kestrix_options INTERFACE -fsanitize=address,undefined)
endif()
if(KESTRIX_FUZZ)
  target_compile_options(kestrix_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(kestrix_options INTERFACE -fsanitize=address,undefined)
endif()

# Every source file in the given folders (not recursive), so that adding a file needs no edit here.
function(kestrix_sources out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# The standard library, the JSON library and the test framework are much of what each source
# compiles: each target of a dozen sources or more precompiles the ones its sources include most.
# A smaller target would spend longer on the precompiled header than it saves, the more so when
# its sources are compiled together in unity batches.
set(KESTRIX_COMMON_HEADERS <algorithm> <functional> <map> <memory> <optional> <string> <string_view>
  <vector> <nlohmann/json.hpp>)
function(kestrix_precompile_headers target)
  get_target_property(sources ${target} SOURCES)
  list(LENGTH sources count)
  if(count GREATER_EQUAL 12)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()
function(kestrix_precompile_common_headers target)
  target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
  kestrix_precompile_headers(${target} ${KESTRIX_COMMON_HEADERS} ${ARGN})
endfunction()

# A gtest executable from every .cpp in a folder, registered with CTest.
function(kestrix_test_suite name dir)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  add_executable(${name} ${found})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock kestrix_options)
  kestrix_precompile_common_headers(${name} <gtest/gtest.h>)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
