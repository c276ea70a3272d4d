# cmake -DCHECK=... -DNM=... -DLIBRARY=... -P expect_refusal.cmake
# Passes only when the instrumentation check refuses LIBRARY, names its plain object
# for both missing coverage and missing AddressSanitizer, and leaves its instrumented one alone.
execute_process(COMMAND ${CHECK} ${NM} ${LIBRARY}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(status EQUAL 0)
    message(FATAL_ERROR "the check accepted a library with an uninstrumented object")
endif()
if(NOT err MATCHES "no fuzzer coverage in: plain_part\\.cpp\\.o\n"
   OR NOT err MATCHES "no AddressSanitizer in: plain_part\\.cpp\\.o\n")
    message(FATAL_ERROR "the check did not name the uninstrumented object alone")
endif()
