# Manual pages (Markdown turned into man format by pandoc), the install layout and the Debian
# package. Included by the top CMakeLists.txt after the programs are defined.
#
# Layout under the prefix. The programs find their help chapters and default settings in
# ../share/varigap beside their own folder, so these paths are fixed rather than taken from
# GNUInstallDirs, whose folders a packager may move apart.
#   bin/varigap, bin/varigap-cli
#   share/varigap/                 help chapters, default settings files
#   share/varigap/examples/        the bundled trnL-F example
#   share/man/man1/                varigap.1.gz, varigap-cli.1.gz
#   share/applications/            varigap.desktop
#   share/icons/hicolor/scalable/apps/varigap.svg
#   share/bash-completion/completions/varigap-cli

# ---------------------------------------------------------------- manual pages
# Every docs/man/NAME.1.md becomes man/NAME.1.gz in the build folder.
find_program(PANDOC_PROGRAM pandoc)
find_program(GZIP_PROGRAM gzip)
file(GLOB VARIGAP_MAN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.1.md)
set(VARIGAP_MAN_PAGES "")
if(PANDOC_PROGRAM AND GZIP_PROGRAM)
  foreach(source ${VARIGAP_MAN_SOURCES})
    get_filename_component(page ${source} NAME_WLE)  # varigap-cli.1
    set(page ${CMAKE_BINARY_DIR}/man/${page})
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${PANDOC_PROGRAM} --standalone --from markdown-smart --to man "--metadata=footer:Varigap ${PROJECT_VERSION}"
              --output ${page} ${source}
      COMMAND ${GZIP_PROGRAM} -9 -n -f ${page}
      DEPENDS ${source}
      COMMENT "Manual page ${page}"
      VERBATIM)
    list(APPEND VARIGAP_MAN_PAGES ${page}.gz)
  endforeach()
  add_custom_target(varigap_man ALL DEPENDS ${VARIGAP_MAN_PAGES})
else()
  message(WARNING "pandoc not found (Debian package pandoc): the manual pages are neither built nor installed")
endif()

# ---------------------------------------------------------------- install
foreach(program varigap varigap-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endif()
endforeach()
install(FILES ${VARIGAP_HELP_FILES} DESTINATION share/varigap)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/example/ DESTINATION share/varigap/examples
  PATTERN big EXCLUDE
  PATTERN .gitattributes EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/completion/varigap-cli DESTINATION share/bash-completion/completions)
if(VARIGAP_MAN_PAGES)
  install(FILES ${VARIGAP_MAN_PAGES} DESTINATION share/man/man1)
endif()
if(TARGET varigap)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/varigap.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/varigap.svg DESTINATION share/icons/hicolor/scalable/apps)
endif()

# ---------------------------------------------------------------- Debian package
# cpack -G DEB in the build folder (or bash build.sh package). The dependencies come from
# dpkg-shlibdeps (Debian package dpkg-dev) over the installed programs, so they follow what
# the programs really link: the Qt 6 libraries, the C++ runtime, and whatever later builds add.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varigap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varigap developers")
set(CPACK_PACKAGE_CONTACT "Varigap developers <varigap@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cuts DNA sequences into conserved and variable regions along a template")
set(CPACK_PACKAGE_DESCRIPTION "Varigap places the conserved regions of a template in DNA sequences of a
known region (first use: the chloroplast trnL-F region), identifies every
variable region between them among its known variants with the taxa that
carry each, and writes annotated output files. The desktop program varigap
shows one sequence region by region; varigap-cli analyses whole FASTA files
in batch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
