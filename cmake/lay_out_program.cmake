# Lays the program folder's data tree (SRC) out beside the executable (DST). The "Setup" and
# "Locations" folders hold what the program writes for its user (settings, location databases),
# so a shipped file there is copied only where none exists yet: a rebuild never replaces a
# user's saved settings or edited database.
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(f IN LISTS files)
  get_filename_component(dir "${DST}/${f}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  if(f MATCHES "^(Setup|Locations)/")
    if(NOT EXISTS "${DST}/${f}")
      file(COPY_FILE "${SRC}/${f}" "${DST}/${f}")
    endif()
  else()
    file(COPY_FILE "${SRC}/${f}" "${DST}/${f}" ONLY_IF_DIFFERENT)
  endif()
endforeach()
