# Renders the manual page with groff's warnings on, as a terminal of 80 and of 60 columns shows
# it, and fails on any warning (a line that cannot be broken, an unknown macro or escape).
#   cmake -DGROFF=groff -DPAGE=packaging/zenarith.1 -P render_manual_page.cmake
foreach(width 80 60)
  execute_process(COMMAND ${GROFF} -man -Tutf8 -ww -rLL=${width}n -z ${PAGE}
                  RESULT_VARIABLE result ERROR_VARIABLE warnings)
  if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "${PAGE} at ${width} columns: exit ${result}\n${warnings}")
  endif()
endforeach()
