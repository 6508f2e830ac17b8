# Where an installation puts Resondix: the two programs, and the shared data
# folder with the help topics and the examples. packaging/CMakeLists.txt
# installs into this layout; the program reaches its help topics from its
# own folder by the relative path RESONDIX_INSTALLED_HELP.
include(GNUInstallDirs)

if(APPLE)
  # Everything lives inside the bundle Resondix.app.
  set(RESONDIX_PROGRAM_DESTINATION Resondix.app/Contents/MacOS)
  set(RESONDIX_DATA_DESTINATION Resondix.app/Contents/Resources)
  set(RESONDIX_INSTALLED_HELP ../Resources/help)
else()
  # Linux and Windows alike: bin/ and share/resondix/ under the prefix.
  set(RESONDIX_PROGRAM_DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(RESONDIX_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/resondix)
  file(RELATIVE_PATH RESONDIX_INSTALLED_HELP
       ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/resondix/help)
endif()
