# Builds the Debian package from the build folder's programs as they are,
# into OUT: what ./scripts/package.sh does with a Release build, here
# uncompressed so that every test run stays quick.
file(REMOVE_RECURSE ${OUT})
execute_process(
  COMMAND ${CPACK} --config ${CONFIG} -B ${OUT} -D CPACK_DEBIAN_COMPRESSION_TYPE=none
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()
