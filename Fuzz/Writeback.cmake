kestrix_fuzzer(WritebackFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/WritebackFuzzer.cpp KestrixKit)
