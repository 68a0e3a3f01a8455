# Installs the engine core into a temporary prefix, builds the outside plug-in
# against it, and runs the test program that loads it from an install directory.
include("${CMAKE_CURRENT_LIST_DIR}/../install/OutsideBuild.cmake")
install_engine_core("${BUILD_DIR}" "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

run_step(${CMAKE_COMMAND} -S "${PLUGIN_SOURCE}" -B "${WORK_DIR}/build"
  "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_SHARED_LINKER_FLAGS=${EXTRA_FLAGS}")
run_step(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run_step(${CMAKE_COMMAND} -E env "VARNEL_OUTSIDE_PLUGIN=${WORK_DIR}/build/OutsideChannel.dll" "${TEST_PROGRAM}")
