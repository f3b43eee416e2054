# How every target of ours is made: with the warnings, the options the numbers depend on, and a
# namespaced alias. Consumers link orvel::NAME, so a misspelt name fails at configure time instead
# of becoming "-lNAME" at link time.
include(${CMAKE_CURRENT_LIST_DIR}/Warnings.cmake)

# Reproducible numbers: a*b+c is never fused into one rounding, whatever the compiler or its mode.
# Public on every library, so code inlined from a model header into its consumer obeys it too.
add_library(orvel_options INTERFACE)
target_compile_options(orvel_options INTERFACE -ffp-contract=off)
# Position-independent code (for the Python module) may still inline and call directly: nothing
# of ours is ever replaced by another library's symbol at load time.
target_compile_options(orvel_options INTERFACE -fno-semantic-interposition)
add_library(orvel::options ALIAS orvel_options)

# orvel_library(NAME [ALIAS SHORT] SOURCES...): the library NAME, known to consumers as
# orvel::SHORT (orvel::NAME when no ALIAS is given).
function(orvel_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ALIAS" "")
  if(NOT arg_ALIAS)
    set(arg_ALIAS ${name})
  endif()
  add_library(${name} ${arg_UNPARSED_ARGUMENTS})
  add_library(orvel::${arg_ALIAS} ALIAS ${name})
  target_link_libraries(${name} PUBLIC orvel::options PRIVATE orvel::warnings)
endfunction()

# orvel_executable(NAME SOURCES...): a program, a test or a benchmark of ours.
function(orvel_executable name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE orvel::options orvel::warnings)
endfunction()

# Fails the configuration when a compiled target under directory was made some other way: it would
# build without the warnings, or fuse a*b+c and change the logs' last digits.
function(orvel_check_targets directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(NOT "orvel::options" IN_LIST links OR NOT "orvel::warnings" IN_LIST links)
      message(FATAL_ERROR "${target} (in ${directory}) is not made by orvel_library or "
                          "orvel_executable, so it lacks orvel::options or orvel::warnings")
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    orvel_check_targets(${subdirectory})
  endforeach()
endfunction()
