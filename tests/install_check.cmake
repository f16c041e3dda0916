# Installs the build into a fresh folder twice: the first install writes the delivered
# database, the second keeps the user's file; the desktop entry names the installed
# program and icon. Run by CTest with -DBUILD=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
foreach(round 1 2)
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                  RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "install failed")
  endif()
  if(round EQUAL 1)
    # The user's data: the file of the first install, marked.
    file(APPEND "${PREFIX}/bin/KALMET.MDB" "user data")
    file(SIZE "${PREFIX}/bin/KALMET.MDB" size)
  endif()
endforeach()
foreach(f bin/kalmet bin/kalmet-cli share/icons/hicolor/scalable/apps/kalmet.svg
          share/applications/kalmet.desktop)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing ${f}")
  endif()
endforeach()
file(SIZE "${PREFIX}/bin/KALMET.MDB" after)
if(NOT after EQUAL size)
  message(FATAL_ERROR "the second install replaced the user's KALMET.MDB")
endif()
file(READ "${PREFIX}/share/applications/kalmet.desktop" entry)
if(NOT entry MATCHES "Exec=${PREFIX}/bin/kalmet\n" OR
   NOT entry MATCHES "Icon=${PREFIX}/share/icons/hicolor/scalable/apps/kalmet.svg\n")
  message(FATAL_ERROR "the desktop entry does not name the installed files:\n${entry}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
