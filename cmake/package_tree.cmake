# Run by cpack before it packs (CPACK_PRE_BUILD_SCRIPTS), on the staged
# tree: every folder gets mode 755, whatever the umask of whoever built
# the package (install() makes folders through mkdir, which the umask
# cuts; files already have theirs: 755 for the program, 644 the texts).
# The Debian package gets what Debian's policy asks for in place of the
# licence: the copyright file in Debian's machine-readable format, the
# changelog and the manual page compressed (gzip -9n), and, for a static
# program, the lintian override that says why it is static; the Mac
# package its README.txt at its top. Where SOURCE_DATE_EPOCH is set, every
# entry takes that time, so that the same commit makes the same package.
cmake_policy(VERSION 3.25)
set(tree "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(GZIP gzip REQUIRED)
  set(doc "${tree}/usr/share/doc/korvex")
  set(page "${tree}/usr/share/man/man1/korvex.1")
  file(REMOVE "${doc}/LICENSE")
  file(COPY "${CPACK_KORVEX_DEBIAN_DIR}/copyright" DESTINATION "${doc}")
  if(CPACK_KORVEX_STATIC)
    file(MAKE_DIRECTORY "${tree}/usr/share/lintian/overrides")
    file(COPY_FILE "${CPACK_KORVEX_SOURCE_DIR}/packaging/debian/lintian-overrides"
         "${tree}/usr/share/lintian/overrides/korvex")
  endif()
  foreach(pair "${CPACK_KORVEX_DEBIAN_DIR}/changelog;${doc}/changelog.gz" "${page};${page}.gz")
    list(GET pair 0 from)
    list(GET pair 1 to)
    execute_process(COMMAND ${GZIP} -9n -c "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip ${from} failed")
    endif()
  endforeach()
  file(REMOVE "${page}")
  file(GLOB_RECURSE texts "${doc}/*" "${tree}/usr/share/lintian/*" "${page}.gz")
  file(CHMOD ${texts} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
if(CPACK_KORVEX_MACOS_README)
  file(COPY_FILE "${CPACK_KORVEX_MACOS_README}" "${tree}/README.txt")
  file(CHMOD "${tree}/README.txt" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${tree}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
find_program(TOUCH touch)
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND TOUCH)
  execute_process(COMMAND ${TOUCH} -h -d @$ENV{SOURCE_DATE_EPOCH} ${entries} "${tree}")
endif()
