# Run by cpack before it packs (CPACK_PRE_BUILD_SCRIPTS): every folder of
# the staged tree gets mode 755, whatever the umask of whoever built the
# package (install() makes folders through mkdir, which the umask cuts).
# Files already have theirs: 755 for the program, 644 for the texts.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
