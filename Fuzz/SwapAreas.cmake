kestrix_fuzzer(SwapAreasFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/SwapAreasFuzzer.cpp KestrixLinux)
