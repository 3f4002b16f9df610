# Places the starting crvn.ini beside the program when none is there; never overwrites one.
# Usage: cmake -DSOURCE=<file> -DDESTINATION=<file> -P PlaceStartingSettings.cmake
if(NOT EXISTS "${DESTINATION}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
