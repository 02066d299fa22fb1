# Every target of the project compiles with the same strict warnings on both compilers.
function(tolv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
