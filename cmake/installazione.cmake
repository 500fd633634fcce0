# Install rules for the two layouts Arvo ships in.
#
# portatile (the default, what `cmake --install <build> --prefix <folder>`
# writes, and the .tar.gz): one program folder holding the executable, the
# manual, the background, the icon, the launcher, the licence and a short
# README. That folder is the database, so Arvo is run from it.
#
# sistema (only with `--component sistema`, and the .deb): a system tree
# under the prefix (/usr for the .deb): bin/arvo, the manual and the
# background in share/arvo (where a program in <prefix>/bin looks for them),
# the desktop entry, the icon in the hicolor theme and the licence in
# share/doc/arvo. The database is then the user's $XDG_DATA_HOME/Arvo.
#
# The system rules are EXCLUDE_FROM_ALL, so a plain install never mixes the
# two layouts.

set(ARVO_ASSETS_DIR ${PROJECT_SOURCE_DIR}/assets)

# --- portatile ---------------------------------------------------------------
install(TARGETS arvo RUNTIME DESTINATION . COMPONENT portatile)
install(DIRECTORY ${ARVO_ASSETS_DIR}/Manual DESTINATION . COMPONENT portatile)
install(FILES ${ARVO_ASSETS_DIR}/back.jpg ${ARVO_ASSETS_DIR}/arvo.png ${PROJECT_SOURCE_DIR}/LICENSE
        ${PROJECT_SOURCE_DIR}/CREDITS.md ${ARVO_ASSETS_DIR}/portatile/README.txt
        DESTINATION . COMPONENT portatile)
install(PROGRAMS ${ARVO_ASSETS_DIR}/portatile/arvo.desktop
                 ${ARVO_ASSETS_DIR}/portatile/aggiungi-al-menu.sh
        DESTINATION . COMPONENT portatile)
# A launcher finds the program and its icon only by full path. Where the
# final folder is known (a plain install) the launcher is rewritten with it at
# once; an archive is unpacked who knows where, so there the user runs
# aggiungi-al-menu.sh once, as its README says. CPack installs into a
# staging folder under _CPack_Packages.
install(CODE [[
  if(NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    execute_process(
      COMMAND sh "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/aggiungi-al-menu.sh"
              --solo-cartella "${CMAKE_INSTALL_PREFIX}"
      RESULT_VARIABLE esito)
    if(NOT esito EQUAL 0)
      message(FATAL_ERROR "arvo.desktop could not be written (${esito})")
    endif()
  endif()
]] COMPONENT portatile)

# --- sistema -----------------------------------------------------------------
install(TARGETS arvo RUNTIME DESTINATION bin COMPONENT sistema EXCLUDE_FROM_ALL)
install(DIRECTORY ${ARVO_ASSETS_DIR}/Manual DESTINATION share/arvo
        COMPONENT sistema EXCLUDE_FROM_ALL)
install(FILES ${ARVO_ASSETS_DIR}/back.jpg DESTINATION share/arvo
        COMPONENT sistema EXCLUDE_FROM_ALL)
install(FILES ${ARVO_ASSETS_DIR}/arvo.desktop DESTINATION share/applications
        COMPONENT sistema EXCLUDE_FROM_ALL)
install(FILES ${ARVO_ASSETS_DIR}/arvo.svg DESTINATION share/icons/hicolor/scalable/apps
        COMPONENT sistema EXCLUDE_FROM_ALL)
# The PNG sizes, rendered from arvo.svg by tools/icone.sh.
install(DIRECTORY ${ARVO_ASSETS_DIR}/hicolor DESTINATION share/icons
        COMPONENT sistema EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/arvo RENAME copyright
        COMPONENT sistema EXCLUDE_FROM_ALL)
# The licences of the built-in icons.
install(FILES ${PROJECT_SOURCE_DIR}/CREDITS.md DESTINATION share/doc/arvo
        COMPONENT sistema EXCLUDE_FROM_ALL)
