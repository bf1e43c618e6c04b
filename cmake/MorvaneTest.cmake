# One place that registers every test: its environment, timeout and labels.
#
#   morvane_add_test(NAME name SOURCES a.cpp b.cpp [LIBS ...] [LABELS ...]
#                    [TIMEOUT seconds] [ENV VAR=value ...])
#
# GoogleTest comes from the sources Debian ships, built with the project's
# own compiler, so the Windows build gets a MinGW GoogleTest.
include_guard(GLOBAL)

function(morvane_provide_gtest)
  if(TARGET GTest::gtest_main)
    return()
  endif()
  if(WIN32 OR MORVANE_SANITIZE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # googletest defines the GTest:: aliases itself.
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()

function(morvane_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  morvane_provide_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock morvane_warnings)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(labels ${T_LABELS})
  set(env ${T_ENV})
  if(WIN32)
    list(APPEND labels wine)
    # Each build tree has its own Wine prefix, so cookies or cache written by
    # one run never reach another.
    list(APPEND env "WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix" "WINEDEBUG=-all"
         "WINEDLLOVERRIDES=mscoree,mshtml=")
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${labels}"
                       ENVIRONMENT "${env}")
endfunction()
