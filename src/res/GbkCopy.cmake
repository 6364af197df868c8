# Writes COPY: the UTF-8 source SOURCE in GBK, starting with a #line directive so that diagnostics
# name SOURCE.
execute_process(COMMAND iconv -f UTF-8 -t GBK ${SOURCE}
    OUTPUT_VARIABLE text
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE} cannot be converted to GBK")
endif()
file(WRITE ${COPY} "#line 1 \"${SOURCE}\"\n${text}")
