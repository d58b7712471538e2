# GoogleTest from Debian's sources, built with the cross compiler.
set(TAVIMO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TAVIMO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Our hook header for Google Test's platform parts comes before its own (tests/support/gtest_custom).
target_include_directories(gtest BEFORE PUBLIC ${PROJECT_SOURCE_DIR}/tests/support/gtest_custom)

# Every test needs the private Wine environment of scripts/wine-env.sh: run outside it, the tests would
# clean the caches and settings of the developer's own Wine prefix and home. This check runs first and
# every test requires it.
add_test(NAME wine_environment COMMAND ${CMAKE_COMMAND} -P ${CMAKE_CURRENT_LIST_DIR}/CheckWineEnvironment.cmake)
set_tests_properties(wine_environment PROPERTIES FIXTURES_SETUP wine_environment)

# tavimo_add_gtest(name SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [RUN_SERIAL] [DESKTOP])
# DESKTOP: the test shows and activates windows, so it takes the desktop for itself.
# One GoogleTest executable, one CTest entry; CTest runs it through wine (the toolchain's emulator).
function(tavimo_add_gtest name)
    cmake_parse_arguments(ARG "RUN_SERIAL;DESKTOP" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tavimo_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8;WINEDEBUG=-all"
        FIXTURES_REQUIRED wine_environment)
    if(ARG_DESKTOP)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
    if(ARG_RUN_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
