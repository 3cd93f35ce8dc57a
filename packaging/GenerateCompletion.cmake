# Writes the bash completion from its template with the field names of the record's table.
# Run by the build with -DWORDS_PROGRAM=... -DTEMPLATE=... -DOUTPUT=...
execute_process(COMMAND "${WORDS_PROGRAM}" OUTPUT_VARIABLE BREVANTA_FIELD_WORDS
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR BREVANTA_FIELD_WORDS STREQUAL "")
    message(FATAL_ERROR "${WORDS_PROGRAM} gave no field names (${status})")
endif()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
