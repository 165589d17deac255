# Native Linux build: portable code and its tests under AddressSanitizer and UBSan,
# plus the test tools (phone simulator).
set(QV_SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

add_library(qv_portable STATIC ${QV_PORTABLE} ${QV_NATIVEONLY})
target_include_directories(qv_portable PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(qv_portable PUBLIC ${QV_CHARSET} ${QV_SAN} PRIVATE ${QV_WARNINGS})
target_link_options(qv_portable PUBLIC ${QV_SAN})

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# tests/support/native: helpers only the native tests can use (POSIX processes and ptys).
file(GLOB QV_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp tests/support/native/*.cpp)
set(QV_NATIVE_TESTS)
foreach(sub ${QV_SUBSYSTEMS})
  file(GLOB t CONFIGURE_DEPENDS tests/${sub}/*_test.cpp)
  list(APPEND QV_NATIVE_TESTS ${t})
endforeach()

# A Russian C library locale inside the build tree (the system's locales stay untouched), for
# the tests that check number texts under a decimal comma; they skip when it cannot be made.
set(QV_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
add_custom_command(OUTPUT ${QV_LOCALE_DIR}/made
  COMMAND sh -c "mkdir -p \"$0\" && localedef -i ru_RU -f UTF-8 \"$0/ru_RU.UTF-8\" 2>/dev/null; touch \"$0/made\""
          ${QV_LOCALE_DIR}
  VERBATIM)
add_custom_target(qv_locale DEPENDS ${QV_LOCALE_DIR}/made)

include(GoogleTest)
if(QV_NATIVE_TESTS)
  add_executable(qv_native_tests ${QV_NATIVE_TESTS} ${QV_TEST_SUPPORT})
  add_dependencies(qv_native_tests qv_locale)
  target_compile_definitions(qv_native_tests PRIVATE QV_LOCALE_DIR="${QV_LOCALE_DIR}")
  target_include_directories(qv_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(qv_native_tests PRIVATE ${QV_WARNINGS})
  target_link_libraries(qv_native_tests PRIVATE qv_portable GTest::gtest_main GTest::gmock)
  gtest_discover_tests(qv_native_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS native)
endif()

file(GLOB QV_BENCHES CONFIGURE_DEPENDS tests/bench/*_bench.cpp)
foreach(b ${QV_BENCHES})
  get_filename_component(name ${b} NAME_WE)
  add_executable(${name} ${b})
  target_link_libraries(${name} PRIVATE qv_portable)
endforeach()

foreach(tool_dir phonesim)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tools/${tool_dir}/CMakeLists.txt)
    add_subdirectory(tools/${tool_dir})
  endif()
endforeach()

# Native tests that drive the program's OBEX code against the phone simulator start it here.
if(TARGET qv_native_tests AND TARGET phonesim)
  target_compile_definitions(qv_native_tests PRIVATE QV_PHONESIM_PATH="$<TARGET_FILE:phonesim>")
  add_dependencies(qv_native_tests phonesim)
endif()

# The resource compiler takes two strings with one id without a word and keeps only one.
add_test(NAME native.resources.StringIdsAreUnique
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-string-ids.sh ${CMAKE_SOURCE_DIR}/src/resources)
set_tests_properties(native.resources.StringIdsAreUnique PROPERTIES LABELS native)
