kestrix_fuzzer(WorldLoadFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/WorldLoadFuzzer.cpp KestrixSimulated)
