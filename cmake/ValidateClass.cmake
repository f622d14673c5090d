# Runs qvtool validate over every document in the class folder, so that a damaged or
# out-of-date activity or problem file fails the build instead of a lesson.
file(GLOB documents ${CLASS_DIR}/*.qvg ${CLASS_DIR}/*.qvd ${CLASS_DIR}/*.qvc ${CLASS_DIR}/*.qvn
     ${CLASS_DIR}/*.qvs)
if(NOT documents)
    message(FATAL_ERROR "No documents to validate in ${CLASS_DIR}")
endif()
list(SORT documents)
execute_process(COMMAND ${QVTOOL} validate ${documents} RESULT_VARIABLE status
                OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Class documents that do not open:\n${report}")
endif()
