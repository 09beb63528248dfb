# Helpers that keep the core free of Qt.
#
# Each core subsystem is a static library named ondarix_core_<name>; the target
# ondarix_core links all of them. No core target ever sees a Qt include path, so
# a core file that includes a Qt header does not compile, and the test
# core_has_no_qt also greps for it. The files of a subsystem's ui/ folder make
# up ondarix_ui, the only library that sees Qt.

set_property(GLOBAL PROPERTY ONDARIX_CORE_PARTS "")

# ondarix_core_part(NAME [DEPENDS part...] [EXCLUDE file...])
# Builds every .cpp of the calling folder into ondarix_core_NAME.
function(ondarix_core_part name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  set(target ondarix_core_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    # A subsystem of headers only
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR})
  target_compile_features(${target} ${scope} cxx_std_17)
  target_link_libraries(${target} ${scope} Threads::Threads)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} ${scope} ondarix_core_${dep})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ONDARIX_CORE_PARTS ${target})
  set_property(GLOBAL APPEND PROPERTY ONDARIX_CORE_SOURCES ${sources})

  # The folder's window and dialog layer lives beside it in ui/ and goes into
  # ondarix_ui; the desktop program itself is built in app/.
  file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h)
  set_property(GLOBAL APPEND PROPERTY ONDARIX_UI_SOURCES ${ui_sources})
endfunction()

function(ondarix_core_umbrella)
  get_property(parts GLOBAL PROPERTY ONDARIX_CORE_PARTS)
  add_library(ondarix_core INTERFACE)
  target_link_libraries(ondarix_core INTERFACE ${parts})
  get_property(sources GLOBAL PROPERTY ONDARIX_CORE_SOURCES)
  list(JOIN sources "\n" text)
  file(WRITE ${PROJECT_BINARY_DIR}/core_sources.txt "${text}\n")
endfunction()

# ondarix_ui, from every subsystem's ui/ folder.
function(ondarix_ui_library)
  get_property(sources GLOBAL PROPERTY ONDARIX_UI_SOURCES)
  if(NOT sources)
    return()
  endif()
  find_package(Qt6 REQUIRED COMPONENTS Widgets Svg)
  add_library(ondarix_ui STATIC ${sources})
  set_target_properties(ondarix_ui PROPERTIES AUTOMOC ON)
  target_include_directories(ondarix_ui PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(ondarix_ui PUBLIC ondarix_core Qt6::Widgets Qt6::Svg)
endfunction()
