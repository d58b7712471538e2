# Passes only inside scripts/wine-env.sh, which puts WINEPREFIX and HOME side by side in one private
# folder that it marks with .lock.
set(prefix "$ENV{WINEPREFIX}")
set(home "$ENV{HOME}")
if(prefix STREQUAL "" OR home STREQUAL "")
    message(FATAL_ERROR "Run the tests through scripts/wine-env.sh (or scripts/test.sh): WINEPREFIX or HOME is not set")
endif()
get_filename_component(prefix_parent "${prefix}" DIRECTORY)
get_filename_component(home_parent "${home}" DIRECTORY)
if(NOT prefix_parent STREQUAL home_parent OR NOT EXISTS "${prefix_parent}/.lock")
    message(FATAL_ERROR "Run the tests through scripts/wine-env.sh (or scripts/test.sh): "
                        "WINEPREFIX=${prefix} and HOME=${home} are not its private environment")
endif()
