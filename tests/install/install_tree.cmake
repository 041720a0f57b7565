# Installs the build into a fresh prefix and checks the installed tree.
#   cmake -DBUILD=<build folder> -DPREFIX=<prefix> -DSOURCE=<source folder>
#         -DBINDIR=<bin> -DDATADIR=<share> -DMANDIR=<man> -DHELPERDIR=<libexec/tessavor>
#         "-DHELPERS=<helper program>;..." -DAPP_ID=<id> -P install_tree.cmake
file(REMOVE_RECURSE ${PREFIX})
# The list of installed files belongs to the developer's own installation, if any.
set(manifest ${BUILD}/install_manifest.txt)
if(EXISTS ${manifest})
  file(RENAME ${manifest} ${manifest}.kept)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE status OUTPUT_QUIET)
file(REMOVE ${manifest})
if(EXISTS ${manifest}.kept)
  file(RENAME ${manifest}.kept ${manifest})
endif()
if(status)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected
  ${BINDIR}/tessavor
  ${DATADIR}/tessavor/Signes.mdb
  ${DATADIR}/applications/${APP_ID}.desktop
  ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
  ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
  ${DATADIR}/doc/tessavor/LICENSE
  ${DATADIR}/doc/tessavor/LICENSE-base-de-connaissances
  ${MANDIR}/man1/tessavor.1
  ${MANDIR}/fr/man1/tessavor.1)
foreach(helper ${HELPERS})
  list(APPEND expected ${HELPERDIR}/${helper})
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
# Every help page of the application folder, the generated ones too.
file(GLOB pages RELATIVE ${BUILD}/bin ${BUILD}/bin/*.HTM ${BUILD}/bin/*.CSS)
list(LENGTH pages page_count)
if(page_count LESS 2)
  message(FATAL_ERROR "no help pages in ${BUILD}/bin")
endif()
foreach(page INDEX.HTM AIDE.CSS ${pages})
  list(APPEND expected ${DATADIR}/tessavor/${page})
endforeach()

set(missing)
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "missing from the installed tree: ${missing}")
endif()

# The program's folder holds the program alone (its import helper is no command for the
# PATH), and the knowledge base installed is the one the sources make.
file(GLOB in_bin RELATIVE ${PREFIX}/${BINDIR} ${PREFIX}/${BINDIR}/*)
if(NOT in_bin STREQUAL "tessavor")
  message(FATAL_ERROR "${BINDIR} holds ${in_bin}")
endif()
file(GLOB in_helper_dir RELATIVE ${PREFIX}/${HELPERDIR} ${PREFIX}/${HELPERDIR}/*)
if(NOT in_helper_dir STREQUAL "${HELPERS}")
  message(FATAL_ERROR "${HELPERDIR} holds ${in_helper_dir}")
endif()
file(SHA256 ${PREFIX}/${DATADIR}/tessavor/Signes.mdb installed)
file(SHA256 ${BUILD}/kb/Signes.mdb built)
if(NOT installed STREQUAL built)
  message(FATAL_ERROR "the installed Signes.mdb is not the one built from kb/")
endif()
