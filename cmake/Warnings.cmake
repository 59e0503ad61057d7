# Warnings for our own targets only; third-party headers come in as system includes.
function(tavro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(TAVRO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
