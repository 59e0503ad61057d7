# What the source checks share: the folders that make up the core, and one scan for files with a
# line matching a pattern. Each check is run as `cmake -DSRC=<folder> -P <check>.cmake`.
set(core_folders platform set archives document imagefiles composition scripts interaction recording)

# The files below SRC in `folders`.
function(files_in_folders out)
  set(globs "")
  foreach(folder IN LISTS ARGN)
    list(APPEND globs ${SRC}/${folder}/*)
  endforeach()
  file(GLOB_RECURSE found ${globs})
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Those of `files` (named relative to SRC) that hold a line matching one of the patterns given
# after them.
function(files_with_lines out files)
  set(found "")
  foreach(f IN LISTS files)
    foreach(pattern IN LISTS ARGN)
      file(STRINGS ${f} hits REGEX "${pattern}")
      if(hits)
        file(RELATIVE_PATH rel ${SRC} ${f})
        list(APPEND found ${rel})
        break()
      endif()
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
