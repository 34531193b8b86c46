# Compiles the bundled questions into a base:
#   cmake -DQABASE=<qabase> -DCSV=<questions.csv> -DOUTPUT=<Base.QA> -DTITLE=<title> -P CompileBundledBase.cmake
# A CSV that does not import leaves no base and does not stop the build: its
# messages are printed, and the test that checks the bundled base fails instead.
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
execute_process(
    COMMAND "${QABASE}" import "${CSV}" -o "${OUTPUT}" --title "${TITLE}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(output)
    message("${output}")
endif()
if(NOT result EQUAL 0)
    file(REMOVE "${OUTPUT}")
    message(WARNING "The bundled question base was not built: ${CSV} does not import (see above).")
endif()
