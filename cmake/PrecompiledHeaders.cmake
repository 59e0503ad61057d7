# The Qt and test headers that dozens of sources parse again and again, precompiled once per
# target (or once for a family of targets built with the same flags). Parsing Qt's headers took
# two thirds of a widget test's compile; the full build and test run must stay short on two cores.
option(TAVRO_PCH "Precompile the Qt and GoogleTest headers" ON)

# GCC 12 warns of bounds and overflows it imagines in std::string's inlined copies (its bug 105329). Parsed as
# system headers the standard library's warnings are hidden; once precompiled, they are not.
function(tavro_quiet_precompiled_library_warnings target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-restrict -Wno-stringop-overflow)
  endif()
endfunction()

# Precompiles the given headers for `target`.
function(tavro_precompile target)
  if(TAVRO_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
    tavro_quiet_precompiled_library_warnings(${target})
  endif()
endfunction()

# Uses the headers `from` precompiled; `target` must be compiled with the same flags and
# definitions, which the compiler checks (-Winvalid-pch, an error under TAVRO_WERROR).
function(tavro_reuse_precompiled target from)
  if(TAVRO_PCH)
    target_precompile_headers(${target} REUSE_FROM ${from})
    tavro_quiet_precompiled_library_warnings(${target})
  endif()
endfunction()
