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
foreach(file include/bars/dxBar.h include/barextras/dxBarExtItems.h lib/libbars.a lib/libplatform.a
             lib/cmake/dxbars/dxbarsConfig.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed library lacks ${file}")
  endif()
endforeach()

step("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build} -G ${GENERATOR}
     -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
step("building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
step("running the consumer" ${EMULATOR} ${consumer_build}/consumer.exe)

foreach(line "shown: Hello" "resources: found" "clicked: Hello" "customize: open")
  string(FIND "${step_output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the consumer did not print \"${line}\"; it printed:\n${step_output}")
  endif()
endforeach()
message(STATUS "the consumer found, built and ran against the installed library:\n${step_output}")
