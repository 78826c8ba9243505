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

# brindle_layered_subsystem(name [CORE_LIBS ...] [QT_LIBS ...]): the core library <name>_core from
# the folder's *.cpp (no Qt) and, outside fuzz builds, <name>_qt from qt/*.cpp on top of it. A
# subsystem without core files has only <name>_qt, on base and the CORE_LIBS.
function(brindle_layered_subsystem name)
    cmake_parse_arguments(S "" "" "CORE_LIBS;QT_LIBS" ${ARGN})
    file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(core base ${S_CORE_LIBS})
    if(core_sources)
        brindle_core_library(${name}_core ${core_sources})
        target_link_libraries(${name}_core PUBLIC ${core})
        set(core ${name}_core)
    endif()
    if(NOT BRINDLE_FUZZ)
        file(GLOB qt_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.h)
        if(qt_sources)
            add_library(${name}_qt STATIC ${qt_sources})
            target_link_libraries(${name}_qt PUBLIC ${core} ${S_QT_LIBS} Qt6::Widgets)
        endif()
    endif()
endfunction()

# brindle_layered_tests(name [LIBS ...]): <name>_tests from the folder's *Test.cpp against
# <name>_core and <name>_qt_tests from qt/*Test.cpp against <name>_qt.
function(brindle_layered_tests name)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB core_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    if(core_tests AND TARGET ${name}_core)
        brindle_gtest(${name}_tests SOURCES ${core_tests} LIBS ${name}_core ${T_LIBS})
    endif()
    file(GLOB qt_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/qt/*Test.cpp)
    if(qt_tests AND TARGET ${name}_qt)
        brindle_gtest(${name}_qt_tests SOURCES ${qt_tests} LIBS ${name}_qt Qt6::Test ${T_LIBS} QT)
    endif()
endfunction()

# brindle_haxe_movie(OUTPUT file MAIN class CLASSPATH folders... [SOURCES files...]
#                    [HEADER w:h:fps:colour] [VERSION n]): builds an ActionScript 3 movie with Haxe,
# MAIN being its main class. It is built again when one of SOURCES changes (default: every .hx file
# below the class paths). Defaults: 550 x 400 at 30 frames a second on white, SWF version 10.
function(brindle_haxe_movie)
    cmake_parse_arguments(M "" "OUTPUT;MAIN;HEADER;VERSION" "CLASSPATH;SOURCES" ${ARGN})
    find_program(HAXE haxe REQUIRED)
    if(NOT M_HEADER)
        set(M_HEADER 550:400:30:FFFFFF)
    endif()
    if(NOT M_VERSION)
        set(M_VERSION 10)
    endif()
    set(paths)
    foreach(dir IN LISTS M_CLASSPATH)
        list(APPEND paths -cp ${dir})
        if(NOT M_SOURCES)
            file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.hx)
            list(APPEND sources ${found})
        endif()
    endforeach()
    if(M_SOURCES)
        set(sources ${M_SOURCES})
    endif()
    get_filename_component(name ${M_OUTPUT} NAME)
    add_custom_command(OUTPUT ${M_OUTPUT}
        COMMAND ${HAXE} ${paths} -main ${M_MAIN} -swf ${M_OUTPUT} -swf-version ${M_VERSION}
                -swf-header ${M_HEADER}
        DEPENDS ${sources}
        COMMENT "Building the movie ${name}"
        VERBATIM)
endfunction()
