# Runs the package check against the list without PACKAGE: it must fail and name PACKAGE.
file(STRINGS ${SOURCE_DIR}/scripts/packages.txt lines)
list(FILTER lines EXCLUDE REGEX "^${PACKAGE}$")
list(JOIN lines "\n" without)
file(WRITE ${WORK}/packages-without-${PACKAGE}.txt "${without}\n")
execute_process(
  COMMAND ${SOURCE_DIR}/scripts/check-packages.sh ${BINARY_DIR} ${WORK}/packages-without-${PACKAGE}.txt
  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed without ${PACKAGE} in the list")
endif()
if(NOT errors MATCHES "comes from ${PACKAGE}, which")
  message(FATAL_ERROR "the check failed without naming ${PACKAGE}:\n${errors}")
endif()
