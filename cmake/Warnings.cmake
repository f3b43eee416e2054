# Every target links `orvel::warnings` (see Targets.cmake), so one switch (ORVEL_WERROR) turns all
# warnings into errors.
option(ORVEL_WERROR "Treat compiler warnings as errors" OFF)

add_library(warnings INTERFACE)
target_compile_options(warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
  -Wformat=2 -Wimplicit-fallthrough -Wsuggest-override
  $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>
  $<$<BOOL:${ORVEL_WERROR}>:-Werror>)
add_library(orvel::warnings ALIAS warnings)
