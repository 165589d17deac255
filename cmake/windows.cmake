# Windows build: qv.exe, the Wine-run test executables and the session keep-alive.
enable_language(RC)
set(QV_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_WINE_RUN})
set(QV_WIN_DEFS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
set(QV_WIN_LIBS ws2_32 comctl32 ole32 oleaut32 uuid shell32 shlwapi setupapi advapi32
    version winmm msimg32 gdi32 user32 kernel32 comdlg32)

add_library(qv_portable STATIC ${QV_PORTABLE} ${QV_WINONLY})
target_include_directories(qv_portable PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(qv_portable PUBLIC ${QV_WIN_DEFS})
target_compile_options(qv_portable PUBLIC ${QV_CHARSET} PRIVATE ${QV_WARNINGS})
target_link_libraries(qv_portable PUBLIC ${QV_WIN_LIBS})

set(QV_RC ${CMAKE_SOURCE_DIR}/src/resources/qv.rc)
set_source_files_properties(${QV_RC} PROPERTIES COMPILE_FLAGS "-c 65001")
file(GLOB QV_RES_DEPS CONFIGURE_DEPENDS src/resources/*)
set_source_files_properties(${QV_RC} PROPERTIES OBJECT_DEPENDS "${QV_RES_DEPS}")

add_executable(qv WIN32 src/core/win/WinMain.cpp ${QV_RC})
target_link_libraries(qv PRIVATE qv_portable)
set_target_properties(qv PROPERTIES OUTPUT_NAME qv)

add_executable(winekeep tools/winekeep/winekeep.c)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QV_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp tests/support/win/*.cpp)
if(QV_TEST_SUPPORT)
  add_library(qv_test_support STATIC ${QV_TEST_SUPPORT})
  set(scope PUBLIC)
else()
  add_library(qv_test_support INTERFACE)
  set(scope INTERFACE)
endif()
target_include_directories(qv_test_support ${scope} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(qv_test_support ${scope} qv_portable GTest::gtest GTest::gmock)
target_compile_definitions(qv_test_support ${scope}
  QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QV_BUILD_DIR="${CMAKE_BINARY_DIR}")

# Small programs the Wine tests start as a second process (tests/<name>/win/helpers/), built
# before the test executables.
file(GLOB QV_TEST_HELPERS CONFIGURE_DEPENDS tests/*/win/helpers/*.c)
set(QV_HELPER_TARGETS)
foreach(src ${QV_TEST_HELPERS})
  get_filename_component(helper ${src} NAME_WE)
  add_executable(${helper} ${src})
  target_compile_definitions(${helper} PRIVATE ${QV_WIN_DEFS})
  target_link_libraries(${helper} PRIVATE ole32 uuid shell32 user32 kernel32)
  list(APPEND QV_HELPER_TARGETS ${helper})
endforeach()

# One Wine test executable per subsystem; the resources are linked in so that string
# tables and bitmaps load as in the program.
foreach(sub ${QV_SUBSYSTEMS})
  file(GLOB t CONFIGURE_DEPENDS tests/${sub}/win/*_test.cpp)
  # Resources only the tests need (dialog templates to drive) sit beside them.
  file(GLOB trc CONFIGURE_DEPENDS tests/${sub}/win/*.rc)
  set_source_files_properties(${trc} PROPERTIES COMPILE_FLAGS "-c 65001")
  if(t)
    set(name qv_${sub}_tests)
    add_executable(${name} ${t} ${trc} ${QV_RC})
    target_compile_options(${name} PRIVATE ${QV_WARNINGS})
    target_link_libraries(${name} PRIVATE qv_test_support GTest::gtest_main)
    add_test(NAME wine.${sub} COMMAND ${name})
    set_tests_properties(wine.${sub} PROPERTIES LABELS wine TIMEOUT 900
      ENVIRONMENT "QV_BUILD=${CMAKE_BINARY_DIR}")
    add_dependencies(${name} qv ${QV_HELPER_TARGETS})
  endif()
endforeach()

# The release packages' test: scripts/dist-test.sh builds them and runs this program in a
# fresh Wine prefix of its own.
file(GLOB QV_DIST_TESTS CONFIGURE_DEPENDS tests/dist/win/*_test.cpp)
if(QV_DIST_TESTS)
  add_executable(qv_dist_tests ${QV_DIST_TESTS})
  target_compile_options(qv_dist_tests PRIVATE ${QV_WARNINGS})
  target_link_libraries(qv_dist_tests PRIVATE qv_test_support GTest::gtest_main)
  add_dependencies(qv_dist_tests qv)
  add_test(NAME wine.dist COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/dist-test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(wine.dist PROPERTIES LABELS wine TIMEOUT 900)
endif()
