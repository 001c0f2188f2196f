# The tool as a Windows program: icon and version resource, the files it needs
# beside it (Qt's DLLs and plug-ins, Qt's Japanese texts, the MinGW runtime),
# and the installer and portable zip made from that install.
#   cmake --build build-win --target windows-package
# makes build-win/lx47-config-<version>-setup.exe (NSIS, 64-bit) and
# build-win/lx47-config-<version>-win64.zip.

# The application icon, from the same pictures as the Linux one.
find_program(LX47_IMAGEMAGICK NAMES convert magick REQUIRED)
set(LX47_ICO ${CMAKE_BINARY_DIR}/lx47-config.ico)
set(_icon_pngs)
foreach(size 16 32 48 64 128 256)
  list(APPEND _icon_pngs ${PROJECT_SOURCE_DIR}/data/icons/lx47-config-${size}.png)
endforeach()
add_custom_command(OUTPUT ${LX47_ICO}
  COMMAND ${LX47_IMAGEMAGICK} ${_icon_pngs} ${LX47_ICO}
  DEPENDS ${_icon_pngs}
  COMMENT "Application icon (.ico)")
add_custom_target(lx47_ico DEPENDS ${LX47_ICO})

# Gives a program the icon and a version resource naming it.
function(lx47_windows_resources target description)
  set(LX47_FILE_DESCRIPTION "${description}")
  set(LX47_INTERNAL_NAME "${target}")
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/lx47-config.rc.in ${_rc} @ONLY)
  target_sources(${target} PRIVATE ${_rc})
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS ${LX47_ICO})
  add_dependencies(${target} lx47_ico)
endfunction()

# ----------------------------------------------------- what the install holds
# Windows finds DLLs beside the program, and Qt its plug-ins in folders there.
get_target_property(_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(LX47_QT_BIN ${_qtcore_dll} DIRECTORY)
get_filename_component(LX47_QT_PREFIX ${LX47_QT_BIN} DIRECTORY)
install(FILES ${LX47_QT_BIN}/Qt6Core.dll ${LX47_QT_BIN}/Qt6Gui.dll ${LX47_QT_BIN}/Qt6Widgets.dll
              ${LX47_QT_BIN}/Qt6Network.dll
        DESTINATION .)
install(FILES ${LX47_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${LX47_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
# Qt's own texts in Japanese (message-box buttons, the file dialog): the same
# platform-free file the Linux tool loads from Debian's translations package.
find_file(LX47_QT_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
install(FILES ${LX47_QT_JA} DESTINATION translations)
# The compiler's runtime, which Qt's DLLs and ours share.
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
    message(FATAL_ERROR "The MinGW runtime ${_dll} was not found (${_path})")
  endif()
  install(FILES ${_path} DESTINATION .)
  list(APPEND LX47_RUNTIME_DIRS_LIST ${_path})
endforeach()
# Folders whose DLLs a program of the build folder needs (Wine's WINEPATH).
set(_dirs ${LX47_QT_BIN})
foreach(_p IN LISTS LX47_RUNTIME_DIRS_LIST)
  get_filename_component(_d ${_p} DIRECTORY)
  list(APPEND _dirs ${_d})
endforeach()
list(REMOVE_DUPLICATES _dirs)
file(WRITE ${CMAKE_BINARY_DIR}/dll-dirs.txt "")
foreach(_d IN LISTS _dirs)
  file(APPEND ${CMAKE_BINARY_DIR}/dll-dirs.txt "${_d}\n")
endforeach()

# ------------------------------------------------------ installer and zip
find_program(LX47_MAKENSIS makensis)
set(_stage ${CMAKE_BINARY_DIR}/windows-stage)
set(CMAKE_INSTALL_MESSAGE NEVER)  # the staging install lists nothing
set(_name lx47-config-${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/data/windows/installer.nsi.in ${CMAKE_BINARY_DIR}/installer.nsi @ONLY)
if(LX47_MAKENSIS)
  add_custom_target(windows-package
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_stage}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${_stage}/${_name} --strip
    # --strip covers the build's own programs; the runtime comes with its symbols.
    COMMAND ${CMAKE_STRIP} --strip-unneeded ${_stage}/${_name}/libstdc++-6.dll ${_stage}/${_name}/libgcc_s_seh-1.dll
            ${_stage}/${_name}/libwinpthread-1.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${LX47_ICO} ${_stage}/lx47-config.ico
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${_stage}/${_name} -DOUT=${CMAKE_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/windows-filelist.cmake
    COMMAND ${LX47_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DSTAGE=${_stage}/${_name} -DICON=${_stage}/lx47-config.ico
            -DOUTFILE=${CMAKE_BINARY_DIR}/${_name}-setup.exe ${CMAKE_BINARY_DIR}/installer.nsi
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/${_name}-win64.zip
    COMMAND ${CMAKE_COMMAND} -E chdir ${_stage} ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${_name}-win64.zip --format=zip ${_name}
    DEPENDS lx47-config lx47-sim lx47_ico
    COMMENT "Windows installer and portable zip"
    VERBATIM)
endif()
