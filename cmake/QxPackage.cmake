# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the programs (scripts/package builds it): its library dependencies are
# found by dpkg-shlibdeps; what the programs load at run time without linking it (the platform
# plugin of the display, the SVG icon plugin) is named here. Its licence, GPL-3.0-or-later, is
# told by /usr/share/doc/quorvin-explorer/copyright (data/debian/copyright).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvin-explorer)
set(CPACK_PACKAGE_VENDOR Pellucor)
set(CPACK_PACKAGE_CONTACT "Quorvin Explorer developers <quorvin-explorer@pellucor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop FTP client built like a file manager")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvin Explorer keeps a site book of FTP servers, browses several of them at once in explorer windows with a folder tree, a file list and a coloured session log, and moves files by commands, copy and paste or dragging. A transfer queue runs downloads, uploads and server-to-server copies on connections of its own. The package also holds quorvin-ftp, the command-line tool.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SFTP runs over OpenSSH's ssh.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "openssh-client")
if(QX_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "openssh-client, qt6-qpa-plugins, libqt6svg6")
    # Qt's own texts (standard buttons, file dialogs) in the user's language.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
        "adwaita-icon-theme | breeze-icon-theme, xdg-utils, cups-bsd, qt6-translations-l10n")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
