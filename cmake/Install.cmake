# Installs the program the way a Linux desktop expects it: the executable in bin/, its
# Resources and Help folders and the installed-copy marker in share/bricketing/ (where
# the program looks for them relative to its own folder, as ../share/bricketing), the
# files a teacher edits (levels.txt and the default settings.txt) in etc/bricketing/,
# the desktop entry, the icons named after the application's id in the hicolor theme,
# the AppStream metainfo and the manual page. The marker Data/installed.txt tells the
# program it is an installed copy, which keeps each pupil's settings in their own
# per-user file and reads the teacher's files from etc (platform/desktop/
# TeacherFolderRule.h): /etc/bricketing for the prefix /usr, <prefix>/etc/bricketing
# for any other, worked out at install time so that `cmake --install --prefix` counts.
include(GNUInstallDirs)

if(TARGET bricketing)
    install(TARGETS bricketing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

    # The teacher's files are not in share: an upgrade replaces share, and a package
    # marks what it puts under etc as configuration that an upgrade keeps.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/Resources ${PROJECT_SOURCE_DIR}/Help
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bricketing)

    set(bricketing_installed_marker ${PROJECT_BINARY_DIR}/installed.txt)
    file(WRITE ${bricketing_installed_marker}
         "This copy of Bricketing is installed: each pupil's settings are kept in their own\n"
         "file, $XDG_CONFIG_HOME/bricketing/settings.txt (~/.config/bricketing/settings.txt).\n"
         "The levels and the settings every pupil starts with are levels.txt and\n"
         "settings.txt in /etc/bricketing (<prefix>/etc/bricketing when installed\n"
         "elsewhere than /usr), which a teacher may edit.\n")
    install(FILES ${bricketing_installed_marker}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bricketing/Data)

    # The settings file's defaults are the committed ones, whatever a tryout left in the
    # working tree's Data/settings.txt (cmake/ShippedSettings.cmake).
    set(bricketing_shipped_settings ${PROJECT_BINARY_DIR}/shipped/settings.txt)
    install(CODE "
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            set(bricketing_teacher_folder /etc/bricketing)
        else()
            set(bricketing_teacher_folder \"\${CMAKE_INSTALL_PREFIX}/etc/bricketing\")
        endif()
        set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
        set(OUTPUT \"${bricketing_shipped_settings}\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/ShippedSettings.cmake\")
        file(INSTALL \"${bricketing_shipped_settings}\" \"${PROJECT_SOURCE_DIR}/Data/levels.txt\"
             DESTINATION \"\${bricketing_teacher_folder}\"
             PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    ")

    install(FILES ${PROJECT_SOURCE_DIR}/packaging/bricketing.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

    # The icons, the metainfo and the manual page carry the application's id, as the
    # AppStream catalogue and the desktop entry's Icon= name them.
    set(bricketing_app_id org.quillmoor.Bricketing)
    foreach(size 16 32 48 256)
        install(FILES ${PROJECT_SOURCE_DIR}/src/resources/icons/bricketing_${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${bricketing_app_id}.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/art/icon/bricketing.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${bricketing_app_id}.svg)

    # The metainfo's release date and the manual page's date are the last commit's (or
    # SOURCE_DATE_EPOCH's), so that the same source always installs the same bytes.
    install(CODE "
        set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
        set(VERSION \"${PROJECT_VERSION}\")
        set(OUTPUT_FOLDER \"${PROJECT_BINARY_DIR}/release-files\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/ReleaseFiles.cmake\")
        file(INSTALL \"${PROJECT_BINARY_DIR}/release-files/${bricketing_app_id}.metainfo.xml\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/metainfo\")
        file(INSTALL \"${PROJECT_BINARY_DIR}/release-files/bricketing.1.gz\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")
    ")
endif()
