# Steps of the install rules (cmake/Install.cmake) that run at install time, when the prefix is known.

# Installs FILE into DESTINATION (relative to the prefix) only when no file of that name is there
# yet, so that the user's edits stay.
function(brindle_install_if_missing file destination)
    get_filename_component(name "${file}" NAME)
    set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${destination}/${name}")
    if(EXISTS "${target}")
        message(STATUS "Keeping: ${target}")
    else()
        # file(INSTALL) puts DESTDIR in front itself.
        file(INSTALL "${file}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${destination}")
    endif()
endfunction()

# Installs the desktop entry TEMPLATE as DESTINATION/NAME with Exec naming LAUNCHER (relative to the
# prefix) by its absolute path: a launcher outside the search path of the desktop session must
# start too. The path is quoted as desktop entries quote arguments (spaces, quotes, "$", "%").
function(brindle_install_desktop_entry template destination name launcher)
    set(path "${CMAKE_INSTALL_PREFIX}/${launcher}")
    string(REPLACE "\\" "\\\\" path "${path}")
    foreach(special "\"" "`" "$")
        string(REPLACE "${special}" "\\${special}" path "${path}")
    endforeach()
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    set(BRINDLE_EXEC "\"${path}\"")
    set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${destination}/${name}")
    message(STATUS "Installing: ${target}")
    configure_file("${template}" "${target}" @ONLY)
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} "${target}" PARENT_SCOPE)
endfunction()

# brindle_write_install_list(LIST_FILE [LEFT_OUT...]): writes LIST_FILE (relative to the prefix)
# with every file installed so far, relative to the prefix, together with those of the list that an
# earlier install left, so that uninstalling also removes files that an older version installed and
# this one no longer does. The LEFT_OUT files (the user's from then on) are not listed.
function(brindle_write_install_list list_file)
    set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    set(entries)
    if(EXISTS "${prefix}/${list_file}")
        file(STRINGS "${prefix}/${list_file}" entries)
    endif()
    foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
        file(RELATIVE_PATH relative "${prefix}" "${file}")
        list(APPEND entries "${relative}")
    endforeach()
    list(REMOVE_ITEM entries ${ARGN})
    list(REMOVE_DUPLICATES entries)
    list(SORT entries)
    list(JOIN entries "\n" text)
    file(WRITE "${prefix}/${list_file}" "${text}\n")
endfunction()
