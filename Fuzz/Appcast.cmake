# The appcast reader stands on Qt's XML reader: fuzzed where Qt 6 Core is installed.
find_package(Qt6 6.4 QUIET COMPONENTS Core)
if(Qt6Core_FOUND)
  add_library(KestrixAppcastReading STATIC
    ${PROJECT_SOURCE_DIR}/KestrixApp/Desktop/Updates/Appcast.cpp
    ${PROJECT_SOURCE_DIR}/KestrixApp/Desktop/Updates/VersionOrder.cpp)
  target_include_directories(KestrixAppcastReading PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(KestrixAppcastReading PUBLIC Qt6::Core PRIVATE kestrix_options)
  kestrix_fuzzer(AppcastFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/AppcastFuzzer.cpp KestrixAppcastReading)
else()
  message(STATUS "Qt 6 Core not found: no AppcastFuzzer")
endif()
