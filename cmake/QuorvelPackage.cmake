# The program as a desktop application: menu entry, icons, document types, AppStream metainfo
# and man pages, installed beside the program folder; and the Debian package CPack makes of the
# whole (`make package` configures a build with QUORVEL_PACKAGE=ON and the program folder under
# /usr/lib/quorvel).
include(GNUInstallDirs)
set(QUORVEL_APP_ID "org.quorvel.Quorvel" CACHE STRING "AppStream component id")
set(QUORVEL_HOMEPAGE "https://quorvel.example.org" CACHE STRING "The project's web site")
set(QUORVEL_SCREENSHOTS "${QUORVEL_HOMEPAGE}/screenshots" CACHE STRING
    "Web folder holding resources/desktop/screenshots, for the metainfo")
option(QUORVEL_PACKAGE "Register the package layout test (needs the .deb CPack makes)" OFF)

set(_desk ${CMAKE_SOURCE_DIR}/resources/desktop)
set(_out ${CMAKE_BINARY_DIR}/desktop)
set(QUORVEL_METAINFO ${_out}/${QUORVEL_APP_ID}.metainfo.xml)
configure_file(${_desk}/quorvel.metainfo.xml.in ${QUORVEL_METAINFO} @ONLY)

# Man pages and the changelog are installed compressed, without time stamps.
set(_gz "")
foreach(_pair "man/quorvel.1;quorvel.1.gz" "man/qvtool.1;qvtool.1.gz" "changelog;changelog.gz")
    list(GET _pair 0 _in)
    list(GET _pair 1 _name)
    add_custom_command(OUTPUT ${_out}/${_name}
        COMMAND sh -c "gzip -9nc < \"$0\" > \"$1\"" ${_desk}/${_in} ${_out}/${_name}
        DEPENDS ${_desk}/${_in} VERBATIM)
    list(APPEND _gz ${_out}/${_name})
endforeach()

# Everything the package holds that the build makes.
add_custom_target(quorvel_package_files DEPENDS ${_gz})
add_dependencies(quorvel_package_files quorvel qvtool quorvel_data quorvel_class_documents
                 quorvel_pattern_documents quorvel_stats_documents_files quorvel_stats_problems
                 quorvel_companion_pdfs
                 quorvel_intro quorvel_desktop_icon_pngs)

install(TARGETS qvtool RUNTIME DESTINATION ${QUORVEL_INSTALL_DIR})
# With the program folder elsewhere, the two programs are reached from bin/ by symbolic links;
# the program finds its folder from its own real path.
if(NOT QUORVEL_INSTALL_DIR STREQUAL CMAKE_INSTALL_BINDIR)
    file(RELATIVE_PATH _rel /${CMAKE_INSTALL_BINDIR} /${QUORVEL_INSTALL_DIR})
    file(MAKE_DIRECTORY ${_out}/bin)
    foreach(_prog quorvel qvtool)
        file(CREATE_LINK ${_rel}/${_prog} ${_out}/bin/${_prog} SYMBOLIC)
        install(FILES ${_out}/bin/${_prog} DESTINATION ${CMAKE_INSTALL_BINDIR})
    endforeach()
endif()
set(_share ${CMAKE_INSTALL_DATAROOTDIR})
install(FILES ${_desk}/quorvel.desktop DESTINATION ${_share}/applications)
install(FILES ${QUORVEL_METAINFO} DESTINATION ${_share}/metainfo)
install(FILES ${_desk}/quorvel-mime.xml DESTINATION ${_share}/mime/packages RENAME quorvel.xml)
install(DIRECTORY ${QUORVEL_ICONS_OUT}/hicolor DESTINATION ${_share}/icons)
install(FILES ${_desk}/icons/quorvel.svg DESTINATION ${_share}/icons/hicolor/scalable/apps)
file(GLOB _mime_svgs ${_desk}/icons/application-x-quorvel-*.svg)
install(FILES ${_mime_svgs} DESTINATION ${_share}/icons/hicolor/scalable/mimetypes)
install(FILES ${_out}/quorvel.1.gz ${_out}/qvtool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_out}/changelog.gz ${_desk}/copyright DESTINATION ${_share}/doc/quorvel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvel developers <developers@quorvel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mathematics workshop for pupils aged 8 to 14")
# The synopsis line is the summary above; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorvel is a workshop of on-screen manipulatives for the mathematics
classroom in three units: Tiles and Tessellations, Patterns (number,
code and design machines) and Statistics. Pupils explore, make
challenges and solve computer-checked problem sets; teachers set the
tools each unit shows and write their own problems.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORVEL_HOMEPAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The Qt 6 runtime packages come from the libraries the programs link, as dpkg-shlibdeps finds
# them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The desktop files as the desktop's own validators read them.
find_program(QUORVEL_DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(QUORVEL_APPSTREAMCLI appstreamcli)
if(QUORVEL_DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_validates
             COMMAND ${QUORVEL_DESKTOP_FILE_VALIDATE} ${_desk}/quorvel.desktop)
    set_tests_properties(desktop_entry_validates PROPERTIES LABELS desktop)
endif()
if(QUORVEL_APPSTREAMCLI)
    add_test(NAME metainfo_validates
             COMMAND ${QUORVEL_APPSTREAMCLI} validate --no-net --pedantic ${QUORVEL_METAINFO})
    set_tests_properties(metainfo_validates PROPERTIES LABELS desktop)
endif()
if(QUORVEL_PACKAGE)
    add_test(NAME package_layout
             COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_package.sh ${CPACK_PACKAGE_DIRECTORY}
                     ${QUORVEL_APP_ID})
    set_tests_properties(package_layout PROPERTIES LABELS package)
endif()
