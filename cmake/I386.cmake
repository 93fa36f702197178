# The 32-bit tree: the 32-bit add-on, host and tests, built from the same
# sources with -m32 in a sub-build of the 64-bit tree.

set(_probe "${CMAKE_BINARY_DIR}/i386-probe")
file(WRITE "${_probe}/probe.c" "int main(void) { return 0; }\n")
execute_process(COMMAND ${CMAKE_C_COMPILER} -m32 "${_probe}/probe.c" -o "${_probe}/probe"
                RESULT_VARIABLE _compiled OUTPUT_QUIET ERROR_QUIET)
if(NOT _compiled EQUAL 0)
  message(FATAL_ERROR "The 32-bit build needs a 32-bit toolchain (Debian: g++-multilib). Run scripts/setup.")
endif()

# A kernel without 32-bit support runs 32-bit programs through user-mode
# emulation.
execute_process(COMMAND "${_probe}/probe" RESULT_VARIABLE _ran OUTPUT_QUIET ERROR_QUIET)
if(_ran EQUAL 0)
  set(_runner "")
else()
  find_program(QEMU_I386 qemu-i386)
  if(NOT QEMU_I386)
    message(FATAL_ERROR "This machine cannot run 32-bit programs; install qemu-user (run scripts/setup).")
  endif()
  set(_runner "${QEMU_I386}")
endif()

include(ExternalProject)
ExternalProject_Add(drawport32
  SOURCE_DIR "${CMAKE_SOURCE_DIR}"
  BINARY_DIR "${CMAKE_BINARY_DIR}/i386"
  CMAKE_ARGS
    -DDRAWPORT_BITS=32
    -DDRAWPORT_OUTPUT_ROOT=${DRAWPORT_OUTPUT_ROOT}
    -DDRAWPORT_SANITIZE=${DRAWPORT_SANITIZE}
    -DDRAWPORT_TESTS=${DRAWPORT_TESTS}
    -DDRAWPORT_WERROR=${DRAWPORT_WERROR}
    "-DDRAWPORT_TEST_PATTERN=${DRAWPORT_TEST_PATTERN}"
    -DDRAWPORT_I386_RUNNER=${_runner}
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
    -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

if(DRAWPORT_TESTS)
  add_test(NAME drawport_tests32 COMMAND ${_runner} "${DRAWPORT_OUTPUT_ROOT}/bin/drawport_tests32")
  set_tests_properties(drawport_tests32 PROPERTIES TIMEOUT 1500)
endif()
