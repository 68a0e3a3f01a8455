# Install, configure the outside project against the prefix, build it, run it.
include("${CMAKE_CURRENT_LIST_DIR}/OutsideBuild.cmake")
install_engine_core("${BUILD_DIR}" "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

run_step(${CMAKE_COMMAND} -S "${HOST_SOURCE}" -B "${WORK_DIR}/build"
  "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
run_step(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run_step("${WORK_DIR}/build/outside_host")
