# Warnings are set per target so that third-party code keeps its own.
function(tolvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)
  if(TOLVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
