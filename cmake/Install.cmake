# Installs the program the way a Linux desktop expects it: the executable in bin/, its
# Data, Resources and Help folders in share/bricketing/ (where the program looks for them
# relative to its own folder, as ../share/bricketing), the desktop entry in
# share/applications/ and the icon in the hicolor theme. The marker Data/installed.txt
# tells the program it is an installed copy, which keeps each pupil's settings in their
# own per-user file and never writes the shipped Data/settings.txt.
include(GNUInstallDirs)

if(TARGET bricketing)
    install(TARGETS bricketing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

    # The settings file and what saving it may leave beside it (a temporary copy, a
    # capitalised name) are the working tree's, not the release's: the committed
    # defaults are written in their place, whatever a tryout left in Data/settings.txt.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/Data ${PROJECT_SOURCE_DIR}/Resources
                      ${PROJECT_SOURCE_DIR}/Help
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bricketing
            REGEX "/Data/[Ss]ettings\\.txt[^/]*$" EXCLUDE
            REGEX "/Data/installed\\.txt$" EXCLUDE)
    set(bricketing_shipped_settings ${PROJECT_BINARY_DIR}/shipped/settings.txt)
    install(CODE "
        set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
        set(OUTPUT \"${bricketing_shipped_settings}\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/ShippedSettings.cmake\")
        file(INSTALL \"${bricketing_shipped_settings}\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/bricketing/Data\")
    ")

    set(bricketing_installed_marker ${PROJECT_BINARY_DIR}/installed.txt)
    file(WRITE ${bricketing_installed_marker}
         "This copy of Bricketing is installed: each pupil's settings are kept in their own\n"
         "file, $XDG_CONFIG_HOME/bricketing/settings.txt (~/.config/bricketing/settings.txt),\n"
         "and settings.txt beside this file holds only the defaults.\n")
    install(FILES ${bricketing_installed_marker}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bricketing/Data)

    install(FILES ${PROJECT_SOURCE_DIR}/packaging/bricketing.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

    foreach(size 16 32 48 256)
        install(FILES ${PROJECT_SOURCE_DIR}/src/resources/icons/bricketing_${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME bricketing.png)
    endforeach()
endif()
