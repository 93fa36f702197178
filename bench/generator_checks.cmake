# Checks of dxfgen, run as a test: cmake -DDXFGEN=path -DWORK=folder -P generator_checks.cmake
#
# The classic mix stays the same, byte for byte, for a seed and options:
# benchmark figures of different versions are compared on it. The digests
# are those of the drawings dxfgen wrote before it had other mixes.
# Every other mix gives the same bytes when written twice.
set(classic_cases
    "--size 1MB" 0bb24d947eb4bfc614f0297a98626f0594124c2f4997081229c41caffbacd386
    "--size 2MB --seed 7 --no-extents" 37bd2b5b0f3f384dd4fc2ed431ba2a19d28bea2111d93261291c065381f05e1a
    "--size 3MB --crlf --layers 40" 4dd47ea48721963aeabdee259375989a26a75acc0fc9c23db6b28675876708a9)

function(generate output options)
  separate_arguments(arguments UNIX_COMMAND "${options}")
  execute_process(COMMAND ${DXFGEN} --quiet ${arguments} ${output} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dxfgen ${options} failed: ${status}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${WORK})
list(LENGTH classic_cases length)
math(EXPR last "${length} - 1")
foreach(index RANGE 0 ${last} 2)
  math(EXPR next "${index} + 1")
  list(GET classic_cases ${index} options)
  list(GET classic_cases ${next} expected)
  generate(${WORK}/classic.dxf "${options}")
  file(SHA256 ${WORK}/classic.dxf digest)
  if(NOT digest STREQUAL expected)
    message(FATAL_ERROR "dxfgen ${options}: the classic drawing changed (SHA-256 ${digest}, was ${expected})")
  endif()
endforeach()

foreach(options "--mix modern --size 400KB" "--mix blocks --size 400KB --seed 5" "--mix hatches --hatch-count 500 --crlf")
  generate(${WORK}/first.dxf "${options}")
  generate(${WORK}/second.dxf "${options}")
  file(SHA256 ${WORK}/first.dxf first)
  file(SHA256 ${WORK}/second.dxf second)
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "dxfgen ${options} wrote different drawings from the same seed")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
