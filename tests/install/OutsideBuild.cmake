# Shared by the tests that build something the way an outside author would:
# each step either succeeds or stops the test with its output, and the engine
# core is installed into a fresh prefix first.
function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Step failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

# Empties work_dir and installs the build into work_dir/prefix.
function(install_engine_core build_dir work_dir)
  file(REMOVE_RECURSE "${work_dir}")
  run_step(${CMAKE_COMMAND} --install "${build_dir}" --prefix "${work_dir}/prefix")
endfunction()
