kestrix_fuzzer(HistoryLoadFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/HistoryLoadFuzzer.cpp KestrixKit)
