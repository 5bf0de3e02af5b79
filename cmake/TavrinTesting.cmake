# Test programs for both tiers.
#
#   tavrin_add_test(NAME name SOURCES ... [LIBS ...] [THREADED] [NATIVE_ONLY]
#                   [WINDOWS_ONLY] [ENVIRONMENT VAR=value] [TIMEOUT s]
#                   [RESOURCE_LOCK name ...])
# RESOURCE_LOCK keeps tests that change shared state (the Wine prefix's
# registry, say) from running at the same time as others that name the lock.
#
# Native build: a GoogleTest program under the build's sanitizers, label
# "native"; THREADED ones are the only ones built in the ThreadSanitizer
# build.  Windows build: the same program cross-built
# and run under Wine through the cross-compiling emulator, label "wine".
include(GoogleTest)
enable_testing()

if(WIN32)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main gmock gmock_main)
      if(TARGET ${t})
        target_compile_options(${t} PRIVATE -Wno-error)
      endif()
    endforeach()
  endif()
  set(TAVRIN_GTEST_LIBS gmock gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(TAVRIN_GTEST_LIBS GTest::gmock GTest::gtest GTest::gtest_main)
endif()

function(tavrin_add_test)
  cmake_parse_arguments(T "THREADED;NATIVE_ONLY;WINDOWS_ONLY" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;RESOURCE_LOCK" ${ARGN})
  if(WIN32 AND T_NATIVE_ONLY)
    return()
  endif()
  if(NOT WIN32 AND T_WINDOWS_ONLY)
    return()
  endif()
  if(TAVRIN_SANITIZE STREQUAL "thread" AND NOT T_THREADED)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  # Several people work in one tree: outside CI, a test whose sources are not
  # written yet is left out instead of breaking everybody's configure.
  if(NOT DEFINED ENV{CI})
    foreach(src ${T_SOURCES})
      if(NOT IS_ABSOLUTE ${src})
        set(src ${CMAKE_CURRENT_SOURCE_DIR}/${src})
      endif()
      if(NOT EXISTS ${src})
        message(WARNING "${T_NAME}: ${src} is missing; test left out")
        return()
      endif()
    endforeach()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${TAVRIN_GTEST_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # gtest_discover_tests flattens lists inside PROPERTIES, so every property
  # here has one value: one label per tier (the ThreadSanitizer tree holds
  # only the threaded tests), at most one environment entry, one lock.  The
  # sanitizer options come from tools/test.sh's environment.
  if(WIN32)
    set(props LABELS wine)
  else()
    set(props LABELS native)
  endif()
  list(LENGTH T_ENVIRONMENT n_env)
  if(n_env GREATER 1)
    message(FATAL_ERROR "${T_NAME}: give at most one ENVIRONMENT entry")
  elseif(n_env EQUAL 1)
    list(APPEND props ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  list(LENGTH T_RESOURCE_LOCK n_lock)
  if(n_lock GREATER 1)
    message(FATAL_ERROR "${T_NAME}: give at most one RESOURCE_LOCK")
  elseif(n_lock EQUAL 1)
    list(APPEND props RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  gtest_discover_tests(${T_NAME}
    TEST_PREFIX "${T_NAME}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 180
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES TIMEOUT ${T_TIMEOUT} ${props})
endfunction()

# A plain CTest test (a script or program) for the Windows tier, run with the
# Wine environment of cmake/wine-run.sh.
function(tavrin_add_wine_script_test name)
  if(NOT WIN32)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 120
    ENVIRONMENT "TAVRIN_BIN=${CMAKE_BINARY_DIR}/bin;TAVRIN_WINE_RUN=${CMAKE_SOURCE_DIR}/cmake/wine-run.sh")
endfunction()
