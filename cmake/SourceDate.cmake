# The time every package's files carry, so that the same sources always give the same bytes:
# SOURCE_DATE_EPOCH when it is set; else the last commit's time where the sources are a git
# work tree of their own; else (sources exported without git, as a release is downloaded) the
# release date of the top CMakeLists.txt. Needs SOURCE_DIR and RELEASE_EPOCH; sets the
# environment's SOURCE_DATE_EPOCH for what runs next (wixl, cpack's archives).
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(_epoch ${RELEASE_EPOCH})
  if(EXISTS ${SOURCE_DIR}/.git)
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE _commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_commit MATCHES "^[0-9]+$")
      set(_epoch ${_commit})
    endif()
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${_epoch})
endif()
