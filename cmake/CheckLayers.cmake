# The folders of src/ depend on each other one way only. Each folder may include the headers of
# the folders listed for it and of no other, so no include circle can form between folders:
#
#   common                      nothing of ours
#   platform                    common
#   device                      platform, common
#   settings                    device and below (apply sends reports)
#   macro                       settings and below (playback follows the profile)
#   skin                        common, beside the three above
#   session                     every core folder; what needs both settings and macros (a
#                               factory reset) lives here
#   ui, cli                     the core; app: the core and ui
#
# Usage: cmake -DSOURCE_DIR=<project> -P CheckLayers.cmake (run by ctest as the test "layers").
cmake_minimum_required(VERSION 3.25)
set(allowed_common "")
set(allowed_platform common)
set(allowed_device common platform)
set(allowed_settings common platform device)
set(allowed_macro common platform device settings)
set(allowed_skin common)
set(allowed_session common platform device settings macro skin)
set(allowed_ui ${allowed_session} session)
set(allowed_cli ${allowed_session} session)
set(allowed_app ${allowed_ui} ui)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults 0)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(NOT DEFINED allowed_${folder})
    message(SEND_ERROR "src/${folder}/ has no place among the layers; give it one in ${CMAKE_CURRENT_LIST_FILE}")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*" "\\1" target "${line}")
    if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
      message(SEND_ERROR "src/${file}: ${folder}/ may not include ${target}/")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} fault(s) against the layers")
endif()
