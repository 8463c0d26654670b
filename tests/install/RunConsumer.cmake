# Installs the components' development package from BUILD_DIR into a fresh prefix under
# WORK_DIR, builds the program in CONSUMER_DIR against that copy alone with the build's own
# compiler, and runs it offscreen.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=... -DCXX_COMPILER=...
#         [-DCXX_LAUNCHER=...] [-DBUILD_TYPE=...] [-DGENERATOR=...] -P RunConsumer.cmake
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status})")
  endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
set(consumer_build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})

run("Installing the dev component"
    ${CMAKE_COMMAND} --install ${BUILD_DIR} --component dev --prefix ${prefix})
# Only the installed copy may be found: no package registry, no other prefix of ours.
run("Configuring the consumer"
    ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build} -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run("Building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
run("The consumer"
    ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${consumer_build}/history_roundtrip)
