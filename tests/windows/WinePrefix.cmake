# Helper of the Windows tests, run with cmake -P:
#   MODE=setup     make the Wine prefix PREFIX once (wineboot, null display
#                  driver); an existing prefix of the same Wine version is kept
#   MODE=shutdown  stop that prefix's wineserver and every program in it
#   MODE=missing   fail, naming the tools MISSING
if(MODE STREQUAL "missing")
  message(FATAL_ERROR "Windows test not run: missing ${MISSING}. Install it (scripts/setup-debian.sh does).")
endif()

set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINELOADER} "${WINE64}")
set(ENV{WINEDEBUG} "-all")
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
get_filename_component(wine_dir "${WINE64}" DIRECTORY)
find_program(WINESERVER NAMES wineserver wineserver64 HINTS "${wine_dir}" NO_DEFAULT_PATH)
if(NOT WINESERVER)
  find_program(WINESERVER NAMES wineserver)
endif()

if(MODE STREQUAL "shutdown")
  if(WINESERVER AND EXISTS "${PREFIX}")
    execute_process(COMMAND "${WINESERVER}" -k RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
  endif()
  return()
endif()

if(NOT MODE STREQUAL "setup")
  message(FATAL_ERROR "MODE must be setup, shutdown or missing")
endif()

execute_process(COMMAND "${WINE64}" --version OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "${WINE64} --version failed: ${rc}")
endif()
set(stamp "${PREFIX}/stallmark-prefix-ready")
if(EXISTS "${stamp}")
  file(READ "${stamp}" ready)
  if(ready STREQUAL version)
    message(STATUS "Wine prefix ${PREFIX} (${version}) is ready")
    return()
  endif()
endif()

message(STATUS "Making the Wine prefix ${PREFIX} (${version})")
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${WINE64}" wineboot --init RESULT_VARIABLE rc TIMEOUT 500)
if(rc)
  message(FATAL_ERROR "wineboot failed: ${rc}")
endif()
# No window of a test may need a display.
execute_process(COMMAND "${WINE64}" reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f
                RESULT_VARIABLE rc TIMEOUT 120)
if(rc)
  message(FATAL_ERROR "setting the null display driver failed: ${rc}")
endif()
# Wait until the server has written the prefix's registry to disk.
if(WINESERVER)
  execute_process(COMMAND "${WINESERVER}" -w TIMEOUT 120)
endif()
file(WRITE "${stamp}" "${version}")
