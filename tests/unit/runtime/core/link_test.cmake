# Builds link_program.cpp as a user's program is built (dist/include,
# libzeltace.so with an rpath, the start-up object), runs it and compares
# its standard output with the expected text.
file(MAKE_DIRECTORY ${WORK})
# The flags the run-time asks its programs to repeat (the sanitizers).
file(READ ${DIST}/lib/hostflags.txt host_flags)
string(STRIP "${host_flags}" host_flags)
separate_arguments(host_flags)
execute_process(
  COMMAND ${CXX} -std=c++17 -Wall -Wno-unused-parameter ${host_flags} -I${DIST}/include ${SOURCE}
          ${DIST}/lib/zeltamain.o -L${DIST}/lib -lzeltace -Wl,-rpath,${DIST}/lib
          -o ${WORK}/link_program
  RESULT_VARIABLE built ERROR_VARIABLE diagnostics)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "build failed:\n${diagnostics}")
endif()
set(ENV{ZELTA_APPDIR} ${WORK})
execute_process(COMMAND ${WORK}/link_program RESULT_VARIABLE status OUTPUT_VARIABLE output)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "program exited with ${status}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs:\n--- got\n${output}\n--- expected\n${expected}")
endif()
