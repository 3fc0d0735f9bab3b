# Fails when a run-time source outside the host files includes a system
# header of the operating system (<unistd.h>, <sys/...>, <dlfcn.h>,
# <termios.h>): calls into the host belong in the few thin files listed here.
#   cmake -DRUNTIME=<runtime folder> -P host_calls_test.cmake
cmake_policy(VERSION 3.16)
set(host_files
  core/host_posix.cpp
  data/store_posix.cpp
  device/device_posix.cpp
  sync/socket_posix.cpp
  sync/serial_posix.cpp
  ui/terminal_driver.cpp)

file(GLOB_RECURSE sources RELATIVE ${RUNTIME} ${RUNTIME}/*.cpp ${RUNTIME}/*.h ${RUNTIME}/*.c ${RUNTIME}/*.hpp)
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no run-time sources under ${RUNTIME}")
endif()
set(offences "")
set(scanned 0)
foreach(f IN LISTS sources)
  if(f IN_LIST host_files)
    continue()
  endif()
  math(EXPR scanned "${scanned} + 1")
  file(STRINGS ${RUNTIME}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*<(unistd\\.h|sys/[^>]*|dlfcn\\.h|termios\\.h)>")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    string(APPEND offences "  ${f}: ${line}\n")
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "host headers outside the host files:\n${offences}")
endif()
message(STATUS "${scanned} run-time files checked, none includes a host header")
