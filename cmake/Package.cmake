# The package to unpack: dist/Telvor-<version>-win32.zip (win64 for the 64-bit tree) holding
# the programs, the area codes with their sources, the help pages, the line simulator for
# trying it out, LIESMICH.txt and the licence. `scripts/package` builds it from build/win32.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TELVOR_PACKAGE_ARCH win32)
else()
  set(TELVOR_PACKAGE_ARCH win64)
endif()
set(TELVOR_PACKAGE_NAME Telvor-${TELVOR_VERSION_TEXT}-${TELVOR_PACKAGE_ARCH})
set(TELVOR_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/dist/${TELVOR_PACKAGE_NAME}.zip)
set(stage ${CMAKE_BINARY_DIR}/package/${TELVOR_PACKAGE_NAME})
set(texts ${CMAKE_BINARY_DIR}/package/texts)

# Text files with Windows line ends, so that every editor on the PC shows them right.
configure_file(${PROJECT_SOURCE_DIR}/packaging/LIESMICH.txt ${texts}/LIESMICH.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

find_program(TELVOR_ZIP zip)
if(NOT TELVOR_ZIP)
  set(TELVOR_ZIP zip)  # scripts/setup installs it; the build says so when it is missing
endif()
add_custom_command(OUTPUT ${TELVOR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${TELVOR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/Hilfe ${stage}/Simulator ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Telvor> $<TARGET_FILE:TELVACT>
          ${PROJECT_SOURCE_DIR}/data/AreaCode.txt ${PROJECT_SOURCE_DIR}/data/AreaCode-SOURCES.txt
          ${texts}/LIESMICH.txt ${texts}/LICENSE.txt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help ${stage}/Hilfe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Capi2032> $<TARGET_FILE:capisimctl> ${stage}/Simulator
  # The trees keep their debug information; the package does not need it.
  COMMAND ${CMAKE_STRIP} ${stage}/Telvor.exe ${stage}/TELVACT.exe ${stage}/Simulator/$<TARGET_FILE_NAME:Capi2032>
          ${stage}/Simulator/$<TARGET_FILE_NAME:capisimctl>
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${TELVOR_ZIP} -q -r -X ${TELVOR_PACKAGE_ZIP} .
  DEPENDS Telvor TELVACT Capi2032 capisimctl ${TELVOR_HELP_PAGES}
          ${PROJECT_SOURCE_DIR}/data/AreaCode.txt ${PROJECT_SOURCE_DIR}/data/AreaCode-SOURCES.txt
          ${texts}/LIESMICH.txt ${texts}/LICENSE.txt
  COMMENT "Packing ${TELVOR_PACKAGE_NAME}.zip")
add_custom_target(package_zip DEPENDS ${TELVOR_PACKAGE_ZIP})

# The installer beside the zip: dist/Telvor-<version>-setup.exe (…-win64-setup.exe for the
# 64-bit tree), built by makensis from the same staged folder (packaging/Telvor.nsi).
if(TELVOR_PACKAGE_ARCH STREQUAL win32)
  set(TELVOR_PACKAGE_SETUP ${CMAKE_BINARY_DIR}/dist/Telvor-${TELVOR_VERSION_TEXT}-setup.exe)
else()
  set(TELVOR_PACKAGE_SETUP ${CMAKE_BINARY_DIR}/dist/Telvor-${TELVOR_VERSION_TEXT}-${TELVOR_PACKAGE_ARCH}-setup.exe)
endif()
get_filename_component(setup_name ${TELVOR_PACKAGE_SETUP} NAME)
find_program(TELVOR_MAKENSIS makensis)
if(TELVOR_MAKENSIS)
  set(make_setup ${TELVOR_MAKENSIS} -V2 -INPUTCHARSET UTF8
      -DVERSION=${TELVOR_VERSION_TEXT} -DFILEVERSION=${TELVOR_VERSION_MAJOR}.${TELVOR_VERSION_MINOR}.0.0
      -DSTAGE=${stage} -DICON=${PROJECT_SOURCE_DIR}/src/ui/win/icons/MainForm.ico
      -DOUTFILE=${TELVOR_PACKAGE_SETUP} ${PROJECT_SOURCE_DIR}/packaging/Telvor.nsi)
else()
  message(WARNING "makensis not found: the installer cannot be built. Install the Debian package nsis (scripts/setup does).")
  set(make_setup ${CMAKE_COMMAND} -E echo "makensis not found: install the Debian package nsis (scripts/setup does), then build again."
      COMMAND ${CMAKE_COMMAND} -E false)
endif()
add_custom_command(OUTPUT ${TELVOR_PACKAGE_SETUP}
  COMMAND ${make_setup}
  DEPENDS ${TELVOR_PACKAGE_ZIP} ${PROJECT_SOURCE_DIR}/packaging/Telvor.nsi
          ${PROJECT_SOURCE_DIR}/src/ui/win/icons/MainForm.ico
  COMMENT "Building the installer ${setup_name}")
add_custom_target(package_setup DEPENDS ${TELVOR_PACKAGE_SETUP})
# After the zip, never beside it: the staged folder is the zip's, and a second run of its rule
# at the same time would pack over it.
add_dependencies(package_setup package_zip)
