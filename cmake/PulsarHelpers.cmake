# Warnings as errors on our own code only.
add_library(pulsar_warnings INTERFACE)
target_compile_options(pulsar_warnings INTERFACE -Wall -Wextra -Werror)

# pulsar_library(<name> <folder> [DEPS ...]): a static library of every .cpp below <folder>.
function(pulsar_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE pulsar_warnings)
  else()
    # A subsystem with headers only (or none yet).
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# Content files generated at build time and packed into demo.dat.
# pulsar_add_content(<target> FILES <absolute paths below PULSAR_STAGE_DIR>)
set(PULSAR_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
set(PULSAR_DATA_STAGE ${PULSAR_STAGE_DIR}/engine_data)
function(pulsar_add_content target)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY PULSAR_CONTENT_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY PULSAR_CONTENT_FILES ${ARG_FILES})
endfunction()
