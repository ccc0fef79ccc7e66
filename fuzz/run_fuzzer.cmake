# Runs one fuzzer for a bounded time on a fresh copy of its seed corpus; a crash or a sanitizer
# report makes the fuzzer exit non-zero, and so fails the test.
# cmake -DFUZZER=<exe> -DSEEDS=<seed folder> -DSCRATCH=<build-folder scratch> -DSECONDS=<n> -P run_fuzzer.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/corpus" "${SCRATCH}/artifacts")
file(COPY "${SEEDS}/" DESTINATION "${SCRATCH}/corpus")
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -print_final_stats=1
          "-artifact_prefix=${SCRATCH}/artifacts/" "${SCRATCH}/corpus"
  WORKING_DIRECTORY "${SCRATCH}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that did it is in ${SCRATCH}/artifacts")
endif()
