# Copies the help project into DST for compiling. The project files and pages are kept
# in UTF-8; help viewers read the contents and index by the project's language (0x804),
# so the staged copy is converted to code page 936 when iconv is available.
#   cmake -DSRC=<dir> -DDST=<dir> -DICONV=<iconv or empty> -P stage.cmake
file(MAKE_DIRECTORY "${DST}")
file(GLOB pages RELATIVE "${SRC}" "${SRC}/*.htm")
set(texts ${pages} zqhelp.hhp zqhelp.hhc zqhelp.hhk)
file(COPY "${SRC}/help.css" DESTINATION "${DST}")
foreach(name IN LISTS texts)
  file(READ "${SRC}/${name}" text)
  if(NOT ICONV)
    file(WRITE "${DST}/${name}" "${text}")
    continue()
  endif()
  string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
  file(WRITE "${DST}/${name}.utf8" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t GBK
                  INPUT_FILE "${DST}/${name}.utf8" OUTPUT_FILE "${DST}/${name}"
                  RESULT_VARIABLE rc)
  file(REMOVE "${DST}/${name}.utf8")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "help: ${name} has characters outside code page 936")
  endif()
endforeach()
