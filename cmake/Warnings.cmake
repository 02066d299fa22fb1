# Every target of the project compiles with the same strict warnings on both compilers. The
# presets and CI make them errors; a packager's plain build, with a compiler of its own choosing,
# only shows them.
option(TOLV_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (on in the presets and CI)" OFF)

set(TOLV_WARNING_FLAGS -Wall -Wextra)
if(TOLV_WARNINGS_AS_ERRORS)
  list(APPEND TOLV_WARNING_FLAGS -Werror)
endif()

function(tolv_warnings target)
  target_compile_options(${target} PRIVATE ${TOLV_WARNING_FLAGS})
endfunction()
