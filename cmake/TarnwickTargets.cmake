# tarnwick_add_test(<name> SOURCES <files...> [LIBRARIES <targets...>] [LABELS <labels...>] [TIMEOUT <s>])
# A QtTest executable in bin/, registered with CTest to run headless.
function(tarnwick_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    # Each suite keeps its own configuration (a saved print setup), never the user's.
    # A suite whose every test skipped (a missing corpus, printer or desktop; initTestCase and
    # cleanupTestCase always pass) shows as skipped, not passed. TARNWICK_REQUIRE_* turn those
    # skips into failures where the checks must run.
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        LABELS "${T_LABELS}"
        SKIP_REGULAR_EXPRESSION "Totals: [0-2] passed, 0 failed, [1-9][0-9]* skipped"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARNWICK_SOURCE_DIR=${PROJECT_SOURCE_DIR};XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config/${name}")
endfunction()

# tarnwick_add_server_plugin(<name> SOURCES <files...> [LIBRARIES <targets...>])
# An automation server plugin, built into bin/servers/ where the program looks for servers.
function(tarnwick_add_server_plugin name)
    cmake_parse_arguments(P "" "OUTPUT_DIRECTORY" "SOURCES;LIBRARIES" ${ARGN})
    if(NOT P_OUTPUT_DIRECTORY)
        set(P_OUTPUT_DIRECTORY ${TARNWICK_SERVER_DIR})
        set(shipped ON)
    endif()
    add_library(${name} MODULE ${P_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Core ${P_LIBRARIES})
    set_target_properties(${name} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY}
        PREFIX "")
    if(shipped)
        add_dependencies(servers ${name})
    endif()
endfunction()
