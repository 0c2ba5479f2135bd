# Shared settings for every target of the project.

add_library(glimmora_options INTERFACE)
target_compile_options(glimmora_options INTERFACE
    -Wall -Wextra -Wformat=2 -Wno-missing-field-initializers)
if(GLIMMORA_SANITIZE)
    target_compile_options(glimmora_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(glimmora_options INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
    # Unicode Win32 API throughout; programs need no MinGW DLL at run time.
    target_compile_definitions(glimmora_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
    target_link_options(glimmora_options INTERFACE -static -static-libgcc -static-libstdc++)
    # Filter centres and ratios are doubles whose truncation decides pixel weights; x87's
    # extended precision would round them differently from the native build, so both use SSE2.
    target_compile_options(glimmora_options INTERFACE -msse2 -mfpmath=sse)
endif()

# glimmora_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest program. Natively each case becomes a ctest test; under Wine the whole
# program is one ctest test (discovery would start Wine once per case at build time).
function(glimmora_add_test name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest GTest::gtest_main glimmora_options)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 300)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
    endif()
endfunction()

# Under Wine, one Xvfb screen and one persistent wineserver serve the whole test run; the
# fixture starts them first and ends them last, so no process outlives the run.
function(glimmora_wine_session_fixture)
    set(runner ${CMAKE_SOURCE_DIR}/scripts/wine-run)
    set(prefix ${CMAKE_BINARY_DIR}/wine-prefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${runner} --prefix ${prefix} -- CACHE STRING "" FORCE)
    add_test(NAME wine_session_start COMMAND ${runner} --prefix ${prefix} --start)
    add_test(NAME wine_session_stop COMMAND ${runner} --prefix ${prefix} --stop)
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 180)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endfunction()
