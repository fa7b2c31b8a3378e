kestrix_fuzzer(URLCommandFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/URLCommandFuzzer.cpp KestrixKit)
