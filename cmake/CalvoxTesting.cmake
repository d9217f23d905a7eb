# Helpers for the test folders: GoogleTest for code without Qt, QtTest for Qt code, all through CTest.
find_package(GTest REQUIRED)
find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Widgets Test)
include(GoogleTest)

# calvox_add_gtest(<name> SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s])
function(calvox_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # One CTest entry per binary keeps discovery out of the build and lets tests run in parallel by binary.
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "gtest;${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# calvox_add_qtest(<name> SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s])
function(calvox_add_qtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt5::Test)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "qtest;${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(CALVOX_SANITIZE STREQUAL "thread")
    # Qt is not instrumented. With this option the sanitizer ignores the memory accesses of its runtime calls
    # made from uninstrumented libraries (Qt's copying and freeing of its events, glibc's time-zone setup); every
    # access of our own code is still checked. It still sees the pthread calls Qt makes, but not QMutex, a futex:
    # queued signals, QThread::wait and isRunning, and QThreadPool hand work over through QMutex, so the order
    # they give is not one the sanitizer reliably sees. Our code hands data between threads through synchronisation it does see
    # (CallQueue, EndOfRun, std::mutex, atomics). The one suppression is Qt's copy of a queued argument (see the
    # file).
    set(supp ${PROJECT_SOURCE_DIR}/cmake/tsan-qt-arguments.supp)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT_MODIFICATION
      "TSAN_OPTIONS=string_append::ignore_noninstrumented_modules=1:suppressions=${supp}")
  endif()
endfunction()
