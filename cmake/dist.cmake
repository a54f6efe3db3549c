# The shipped folder: dist/ with Tessel.exe, Perch.exe, Perch.inf and the
# user's guide Tessel.txt, Tessel-<version>.zip of that folder's contents and
# SHA256SUMS of the zip beside it. Included by setup/ in the 32-bit tree only.
# The zip is the same bytes for the same commit: its members in a fixed order
# with the time of the last commit and fixed attributes.
find_program(TESSEL_ICONV iconv REQUIRED)

set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(DIST_ZIP ${CMAKE_BINARY_DIR}/Tessel-${PROJECT_VERSION}.zip)
set(DIST_INF_UTF8 ${CMAKE_BINARY_DIR}/Perch.inf.utf8)
set(DIST_SUMS ${CMAKE_BINARY_DIR}/SHA256SUMS)
set(DIST_MEMBERS Tessel.exe Perch.exe Perch.inf Tessel.txt)

# Perch reads Perch.inf through the profile reader in the ANSI code page, so
# the file ships in Shift-JIS with Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/resources/Perch.inf.in ${DIST_INF_UTF8}
  @ONLY NEWLINE_STYLE CRLF)

add_custom_command(
  OUTPUT ${DIST_DIR}/Perch.inf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
  COMMAND ${TESSEL_ICONV} -f UTF-8 -t CP932 -o ${DIST_DIR}/Perch.inf ${DIST_INF_UTF8}
  DEPENDS ${DIST_INF_UTF8} ${PROJECT_SOURCE_DIR}/resources/Perch.inf.in
  COMMENT "Perch.inf in Shift-JIS"
  VERBATIM)

# The user's guide ships like the instruction file: Shift-JIS, CR LF.
add_custom_command(
  OUTPUT ${DIST_DIR}/Tessel.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
  COMMAND ${TESSEL_PYTHON} ${TESSEL_RELEASE_FILES} text
    ${PROJECT_SOURCE_DIR}/resources/Tessel.txt ${DIST_DIR}/Tessel.txt
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/Tessel.txt ${TESSEL_RELEASE_FILES}
  COMMENT "Tessel.txt in Shift-JIS"
  VERBATIM)

add_custom_command(
  OUTPUT ${DIST_DIR}/Tessel.exe ${DIST_DIR}/Perch.exe ${DIST_ZIP} ${DIST_SUMS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tessel> ${DIST_DIR}/Tessel.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Perch> ${DIST_DIR}/Perch.exe
  COMMAND ${TESSEL_PYTHON} ${TESSEL_RELEASE_FILES} zip
    ${TESSEL_EPOCH_FILE} ${DIST_ZIP} ${DIST_SUMS} ${DIST_DIR} ${DIST_MEMBERS}
  DEPENDS Tessel Perch ${DIST_DIR}/Perch.inf ${DIST_DIR}/Tessel.txt
    ${TESSEL_EPOCH_FILE} ${TESSEL_RELEASE_FILES}
  COMMENT "dist/, Tessel-${PROJECT_VERSION}.zip and SHA256SUMS"
  VERBATIM)

add_custom_target(dist ALL DEPENDS ${DIST_DIR}/Tessel.exe ${DIST_DIR}/Perch.exe ${DIST_ZIP} ${DIST_SUMS})
add_dependencies(dist tessel_source_epoch)
