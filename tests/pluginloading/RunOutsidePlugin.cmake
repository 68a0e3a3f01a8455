# Installs the engine core into a temporary prefix, builds the outside plug-in
# against it, and runs the test program that loads it from an install directory.
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Step failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run_step(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
run_step(${CMAKE_COMMAND} -S "${PLUGIN_SOURCE}" -B "${WORK_DIR}/build"
  "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_SHARED_LINKER_FLAGS=${EXTRA_FLAGS}")
run_step(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run_step(${CMAKE_COMMAND} -E env "VARNEL_OUTSIDE_PLUGIN=${WORK_DIR}/build/OutsideChannel.dll" "${TEST_PROGRAM}")
