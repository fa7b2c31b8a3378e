kestrix_fuzzer(MoreAppsFeedFuzzer ${CMAKE_CURRENT_SOURCE_DIR}/MoreAppsFeedFuzzer.cpp MoreAppsKit)
