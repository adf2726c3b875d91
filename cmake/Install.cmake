# Installing and packaging: the program directory <prefix>/lib/quillmar (executables, both HID
# service libraries, Skins/, Help/), the launcher <prefix>/bin/quillmar, the menu and autostart
# entries, and the udev rule that gives the logged-in user the keyboard. CPack makes a .deb.

set(QUILLMAR_INSTALL_PROGRAM_DIR lib/quillmar CACHE STRING "Program directory, relative to the prefix")
# udev reads /usr/lib/udev/rules.d and /usr/local/lib/udev/rules.d, so both usual prefixes work.
set(QUILLMAR_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING "Where the udev rule goes")
set(QUILLMAR_AUTOSTART_DIR /etc/xdg/autostart CACHE STRING "Where the autostart entry goes")

# The program loads the HID service libraries by path from its own folder: no RPATH needed.
foreach(target quillmar quillmarctl hidlane hidlane-sim)
  if(TARGET ${target})
    install(TARGETS ${target}
      RUNTIME DESTINATION ${QUILLMAR_INSTALL_PROGRAM_DIR}
      LIBRARY DESTINATION ${QUILLMAR_INSTALL_PROGRAM_DIR} NAMELINK_SKIP)
  endif()
endforeach()

install(DIRECTORY ${QUILLMAR_PROGRAM_DIR}/Skins ${QUILLMAR_PROGRAM_DIR}/Help
  DESTINATION ${QUILLMAR_INSTALL_PROGRAM_DIR} OPTIONAL)

install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/quillmar DESTINATION bin)
if(TARGET quillmarctl)
  # A link, so that quillmarctl still finds its program directory through /proc/self/exe.
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${QUILLMAR_INSTALL_PROGRAM_DIR}/quillmarctl
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/quillmarctl\" SYMBOLIC)")
endif()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/quillmar.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quillmar-autostart.desktop
  DESTINATION ${QUILLMAR_AUTOSTART_DIR} RENAME quillmar.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/70-quillmar.rules DESTINATION ${QUILLMAR_UDEV_RULES_DIR})
install(CODE "message(STATUS \"Plug the keyboard in again (or run: udevadm control --reload-rules && udevadm trigger --subsystem-match=hidraw) so the udev rule takes effect.\")")

set(CPACK_PACKAGE_NAME quillmar)
set(CPACK_PACKAGE_VENDOR "Quillmar")
set(CPACK_PACKAGE_CONTACT "Quillmar developers <dev@quillmar.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Settings for the Quillmar USB gaming keyboard")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The autostart entry lies outside the prefix, so the package is staged whole under DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Debian package names of the shared libraries, found by dpkg-shlibdeps from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${QUILLMAR_PROGRAM_DIR})
if(TARGET quillmar)
  # Qt's platform plugins (xcb, wayland) are loaded at run time, so no library links them.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
# udev applies the access rule; without it the library still works for root, so only recommended.
# A light font with Chinese glyphs, for the language file's Chinese section.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/postinst)
include(CPack)
