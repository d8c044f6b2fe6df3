# Run by CTest: installs the built library, builds the consumer against the installed copy
# and checks what the consumer prints. Any failed step ends the test with its output.
set(prefix ${WORK_DIR}/prefix)
set(consumer_build ${WORK_DIR}/consumer-build)
file(REMOVE_RECURSE ${prefix} ${consumer_build})

function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
set(toolchain ${prefix}/lib/cmake/dxbars/mingw-w64.cmake)
foreach(file include/bars/dxBar.h include/barextras/dxBarExtItems.h lib/libbars.a lib/libplatform.a
             lib/cmake/dxbars/dxbarsConfig.cmake lib/cmake/dxbars/mingw-w64.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed library lacks ${file}")
  endif()
endforeach()

# A program configured for the build machine instead is stopped by the package with a word
# on what to do.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/host-build -G ${GENERATOR}
                -DCMAKE_PREFIX_PATH=${prefix} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
string(FIND "${out}" "dxbars: the library is built for Windows" said)
if(status EQUAL 0 OR said EQUAL -1)
  message(FATAL_ERROR "configuring the consumer for the build machine did not stop with the package's word:\n${out}")
endif()
file(REMOVE_RECURSE ${WORK_DIR}/host-build)

# Programs are configured with the toolchain file installed with the package, not this tree's.
step("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build} -G ${GENERATOR}
     -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
step("building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
step("running the consumer" ${EMULATOR} ${consumer_build}/consumer.exe)

foreach(line "shown: Hello" "resources: found" "clicked: Hello" "customize: open")
  string(FIND "${step_output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the consumer did not print \"${line}\"; it printed:\n${step_output}")
  endif()
endforeach()
message(STATUS "the consumer found, built and ran against the installed library:\n${step_output}")

# The shipped example builds against the installed library the same way.
set(example_build ${WORK_DIR}/example-build)
file(REMOVE_RECURSE ${example_build})
step("configuring the example" ${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${example_build} -G ${GENERATOR}
     -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
step("building the example" ${CMAKE_COMMAND} --build ${example_build})
