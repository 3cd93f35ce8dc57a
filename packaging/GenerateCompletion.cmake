# Writes the bash completion from its template with the field names of the record's table and
# the column names of table. Run by the build with -DWORDS_PROGRAM=... -DTEMPLATE=... -DOUTPUT=...
execute_process(COMMAND "${WORDS_PROGRAM}" OUTPUT_VARIABLE words
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
# Two lines; the names hold brackets, so they are cut apart as text rather than as a list.
string(FIND "${words}" "\n" end)
if(NOT status EQUAL 0 OR end LESS 1)
    message(FATAL_ERROR "${WORDS_PROGRAM} gave no field and column names (${status})")
endif()
string(SUBSTRING "${words}" 0 ${end} BREVANTA_FIELD_WORDS)
math(EXPR start "${end} + 1")
string(SUBSTRING "${words}" ${start} -1 BREVANTA_COLUMN_WORDS)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
