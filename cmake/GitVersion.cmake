# Writes the version header: the project's release number, and the git commit of the source
# folder when it is a checkout of its own ("-dirty" when it has uncommitted changes).
# Run at every build (cmake -P), so that a new commit shows without configuring again; the
# header is rewritten only when its text changes, so nothing recompiles otherwise.
#   -DSOURCE_DIR=... -DVERSION=... -DOUTPUT=... [-DGIT_EXECUTABLE=...]
set(commit "")
if(GIT_EXECUTABLE)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  # A source tree unpacked inside some other repository is not a checkout of Varigap.
  if(rc EQUAL 0)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" src)
  endif()
  if(rc EQUAL 0 AND top STREQUAL src)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
      OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      set(commit "")
    else()
      execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" diff --quiet HEAD --
        RESULT_VARIABLE dirty OUTPUT_QUIET ERROR_QUIET)
      if(dirty EQUAL 1)
        string(APPEND commit "-dirty")
      endif()
    endif()
  endif()
endif()
configure_file("${CMAKE_CURRENT_LIST_DIR}/varigap_version.h.in" "${OUTPUT}" @ONLY)
