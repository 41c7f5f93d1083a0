# Runs `kbf check` on every keyboard given and fails when any of them does not
# load or has a finding: `kbf check` itself succeeds whenever the system's
# loader accepts a keyboard, and only prints what else it found.
# The keyboards' switches are followed into the language tree TREE.
# Usage: cmake -DKBF=path/to/kbf -DKEYBOARDS="a.kbf;b.kbf" -DTREE=folder -P check_keyboards.cmake
set(failed)
foreach(keyboard IN LISTS KEYBOARDS)
  execute_process(COMMAND "${KBF}" check "${keyboard}" --tree "${TREE}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  string(STRIP "${output}${errors}" report)
  message(STATUS "${keyboard}: ${report}")
  string(FIND "${output}" "warning:" warning_at)
  if(NOT result EQUAL 0 OR NOT warning_at EQUAL -1)
    list(APPEND failed "${keyboard}")
  endif()
endforeach()
if(failed)
  list(JOIN failed "\n  " failed_text)
  message(FATAL_ERROR "kbf check found problems in:\n  ${failed_text}")
endif()
