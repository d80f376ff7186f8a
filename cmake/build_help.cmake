# Compiles the help project in SOURCE_DIR with COMPILER into OUTPUT, working on a copy in WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR})
# hhc reports success with exit code 1, so the result is judged by the file it leaves.
execute_process(COMMAND ${COMPILER} fyh.hhp WORKING_DIRECTORY ${WORK_DIR} OUTPUT_QUIET)
if(NOT EXISTS ${WORK_DIR}/fyh.chm)
    message(FATAL_ERROR "${COMPILER} did not produce fyh.chm")
endif()
file(COPY_FILE ${WORK_DIR}/fyh.chm ${OUTPUT})
