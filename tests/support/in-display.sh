#!/usr/bin/env bash
# Runs a test command in one of the places scripts/wine-env set up (a display, a Wine prefix
# and its server). CTest hands out the places as resources when scripts/test gives it their
# list (CTEST_RESOURCE_GROUP_0_DISPLAYS="id:K,slots:1"); place 0 is the exported DISPLAY and
# WINEPREFIX. Whatever chose it, the command holds the place's lock while it runs, so that two
# commands started without CTest's choice (ctest -j with no list) take turns instead of moving
# one pointer and fighting over one foreground window.
id=0
if [[ "${CTEST_RESOURCE_GROUP_0_DISPLAYS:-}" =~ id:([0-9]+) ]]; then
  id=${BASH_REMATCH[1]}
fi
if [ "$id" != 0 ]; then
  display=WINE_ENV_DISPLAY_$id prefix=WINE_ENV_PREFIX_$id
  if [ -z "${!display:-}" ] || [ -z "${!prefix:-}" ]; then
    echo "in-display: place $id was not set up (scripts/wine-env)" >&2
    exit 1
  fi
  export DISPLAY=${!display} WINEPREFIX=${!prefix}
fi
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
  exec flock "$WINEPREFIX/.display-lock" "$@"
fi
exec "$@"
