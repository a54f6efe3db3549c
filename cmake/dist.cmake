# The shipped folder: dist/ with Tessel.exe, Perch.exe and Perch.inf, and
# Tessel-<version>.zip of that folder's contents. Included by setup/ in the
# 32-bit tree only.
find_program(TESSEL_ICONV iconv REQUIRED)

set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(DIST_ZIP ${CMAKE_BINARY_DIR}/Tessel-${PROJECT_VERSION}.zip)
set(DIST_INF_UTF8 ${CMAKE_BINARY_DIR}/Perch.inf.utf8)

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

add_custom_command(
  OUTPUT ${DIST_DIR}/Tessel.exe ${DIST_DIR}/Perch.exe ${DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tessel> ${DIST_DIR}/Tessel.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Perch> ${DIST_DIR}/Perch.exe
  COMMAND ${CMAKE_COMMAND} -E rm -f ${DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${DIST_ZIP} --format=zip Tessel.exe Perch.exe Perch.inf
  WORKING_DIRECTORY ${DIST_DIR}
  DEPENDS Tessel Perch ${DIST_DIR}/Perch.inf
  COMMENT "dist/ and Tessel-${PROJECT_VERSION}.zip"
  VERBATIM)

add_custom_target(dist ALL DEPENDS ${DIST_DIR}/Tessel.exe ${DIST_DIR}/Perch.exe ${DIST_ZIP})
