# libFuzzer targets over the portable parsers (clang, ASan/UBSan).
set(QV_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
set(QV_LIB_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)

add_library(qv_portable_fuzz STATIC ${QV_PORTABLE} ${QV_NATIVEONLY})
target_include_directories(qv_portable_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/src)
# clang knows no execution charset but UTF-8, so narrow literals stay UTF-8 here; the targets
# look for memory faults and broken invariants, not for the program's texts.
target_compile_options(qv_portable_fuzz PUBLIC -finput-charset=UTF-8 PRIVATE ${QV_LIB_FLAGS})

file(GLOB QV_FUZZERS CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(f ${QV_FUZZERS})
  get_filename_component(name ${f} NAME_WE)
  add_executable(${name} ${f})
  target_compile_options(${name} PRIVATE ${QV_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${QV_FUZZ_FLAGS})
  target_link_libraries(${name} PRIVATE qv_portable_fuzz)
endforeach()
