# Helpers shared by the subsystem CMakeLists files.

# brindle_core_library(name SOURCES...): a static core library without Qt.
function(brindle_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

# brindle_program(name): put an executable into the application folder.
function(brindle_program name)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${APP_DIR})
endfunction()

# brindle_gtest(name SOURCES... LIBS ... [QT]): a GoogleTest binary registered with CTest. With QT
# its main creates a QApplication first (offscreen platform unless one is set).
function(brindle_gtest name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
    if(T_QT)
        add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/QtTestMain.cpp)
        target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Widgets GTest::gtest GTest::gmock)
    else()
        add_executable(${name} ${T_SOURCES})
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "BRINDLE_APP_DIR=${APP_DIR};QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1")
endfunction()

# brindle_fuzzer(name SOURCE LIBS...): a libFuzzer target (BRINDLE_FUZZ builds only).
function(brindle_fuzzer name source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
