# The layering of the source tree, checked on every #include (ctest: layering).
#
#   cmake -DSOURCE_DIR=<tree> -P check_layers.cmake
#
# The folders stand in layers, lowest first:
#   text  ui  engine  angles  ntv2  chain  params  fileconv  mainwindow  ui/qt  app | tools
#   and, beside them over fileconv, python (the Python module: no window, no program).
# A file may include its own folder and the folders before it, never one after it, with these
# exceptions: engine and chain include nothing from ui (no messages, no desktop), and chain
# reaches none through the headers it includes either; app and tools stand side by side and
# include neither each other nor, for tools, ui/qt; the converter's files in app include
# nothing of mainwindow or ui/qt. Qt headers are included only in ui/qt,
# app and the GUI tests. Tests, fuzz targets and benchmarks may include any folder.
# Every violation is printed as "LAYERING: FILE:LINE includes HEADER (REASON)"; the script
# fails when there is any.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(layers text ui engine angles ntv2 chain params fileconv mainwindow ui/qt app tools python)
# What each folder may include, besides itself.
set(allowed_text "")
set(allowed_ui text)
set(allowed_engine text)
set(allowed_angles text ui engine)
set(allowed_ntv2 text ui engine angles)
set(allowed_chain text engine angles ntv2)
set(allowed_params text ui engine angles ntv2 chain)
set(allowed_fileconv ${allowed_params} params)
set(allowed_mainwindow ${allowed_fileconv} fileconv)
set(allowed_ui/qt ${allowed_mainwindow} mainwindow)
set(allowed_app ${allowed_ui/qt} ui/qt)
set(allowed_tools ${allowed_mainwindow} mainwindow)
set(allowed_python ${allowed_fileconv} fileconv)
# Folders whose files may include Qt.
set(qt_folders ui/qt app tests/gui)
# Folders that must not reach ui even through the headers they include.
set(no_ui_reach chain)
# The command-line converter's files use no window: nothing from mainwindow or ui/qt.
set(windowless app/tarvo_convert.cpp app/console_desktop.h app/console_desktop.cpp)

# The layer folder of a path relative to the source tree ("ui/qt/x.h" -> ui/qt), or empty.
function(layer_of path result)
  set(folder "")
  if(path MATCHES "^ui/(qt|testing)/")
    set(folder "ui/${CMAKE_MATCH_1}")
  elseif(path MATCHES "^([a-z]+)/")
    set(folder "${CMAKE_MATCH_1}")
  endif()
  set(${result} "${folder}" PARENT_SCOPE)
endfunction()

# The quoted and angled includes of a file, as "LINE|KIND|HEADER" items.
function(includes_of file result)
  file(STRINGS "${file}" lines)
  set(found "")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
      list(APPEND found "${number}|${CMAKE_MATCH_1}|${CMAKE_MATCH_2}")
    endif()
  endforeach()
  set(${result} "${found}" PARENT_SCOPE)
endfunction()

# The project headers a header reaches through its includes, itself included.
function(reached header result)
  set(seen "${header}")
  set(pending "${header}")
  while(pending)
    list(POP_FRONT pending current)
    if(NOT EXISTS "${SOURCE_DIR}/${current}")
      continue()
    endif()
    includes_of("${SOURCE_DIR}/${current}" items)
    foreach(item IN LISTS items)
      string(REPLACE "|" ";" parts "${item}")
      list(GET parts 1 kind)
      list(GET parts 2 included)
      if(kind STREQUAL "\"" AND NOT included IN_LIST seen)
        list(APPEND seen "${included}")
        list(APPEND pending "${included}")
      endif()
    endforeach()
  endwhile()
  set(${result} "${seen}" PARENT_SCOPE)
endfunction()

set(violations 0)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(source IN LISTS sources)
  if(source MATCHES "^(build|tests|fuzz|bench)/" OR source MATCHES "^\\.")
    continue()
  endif()
  layer_of("${source}" own)
  if(NOT own IN_LIST layers)
    continue()
  endif()
  includes_of("${SOURCE_DIR}/${source}" items)
  foreach(item IN LISTS items)
    string(REPLACE "|" ";" parts "${item}")
    list(GET parts 0 line)
    list(GET parts 1 kind)
    list(GET parts 2 included)
    set(reason "")
    if(kind STREQUAL "<")
      if(included MATCHES "^Q" AND NOT own IN_LIST qt_folders)
        set(reason "Qt outside ui/qt and app")
      endif()
    else()
      layer_of("${included}" target)
      if(target STREQUAL "tests" OR target STREQUAL "ui/testing")
        set(reason "test code in the program")
      elseif(target IN_LIST layers AND NOT target STREQUAL own AND
             NOT target IN_LIST allowed_${own})
        set(reason "${own} may not include ${target}")
      elseif(source IN_LIST windowless AND (target STREQUAL "mainwindow" OR target STREQUAL "ui/qt"))
        set(reason "the converter uses no window")
      elseif(own IN_LIST no_ui_reach)
        reached("${included}" headers)
        foreach(header IN LISTS headers)
          layer_of("${header}" reached_layer)
          if(reached_layer STREQUAL "ui")
            set(reason "${own} reaches ${header}")
            break()
          endif()
        endforeach()
      endif()
    endif()
    if(reason)
      message("LAYERING: ${source}:${line} includes ${included} (${reason})")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) against the layer order")
endif()
message("layering: every include follows the layer order")
