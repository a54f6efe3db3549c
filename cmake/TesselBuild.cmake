# Shared compile settings and helpers for every tree.

# Narrow literals become Shift-JIS bytes, in the programs and in the tests alike.
set(TESSEL_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP932)
set(TESSEL_WARNING_FLAGS -Wall -Wextra -Werror -Wno-missing-field-initializers)

if(TESSEL_WINDOWS)
  # ANSI Win32 API; WINVER 0x0501 keeps structure sizes those of the classic API.
  set(TESSEL_WIN_DEFS WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)
  set(TESSEL_STATIC_LINK -static -static-libgcc -static-libstdc++)
  # No folder of this build in the programs: __FILE__ and the like name
  # paths relative to the source or build root.
  set(TESSEL_PREFIX_MAP_FLAGS -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

  # Every time stamp of the programs and the zip is the time of the last
  # commit (or SOURCE_DATE_EPOCH), kept in one file that the build rewrites
  # only when that time changes. The linker reads it through the launcher.
  find_program(TESSEL_PYTHON NAMES python3 REQUIRED)
  set(TESSEL_RELEASE_FILES ${PROJECT_SOURCE_DIR}/cmake/release_files.py)
  set(TESSEL_EPOCH_FILE ${CMAKE_BINARY_DIR}/source-epoch.txt)
  execute_process(COMMAND ${TESSEL_PYTHON} ${TESSEL_RELEASE_FILES} epoch
    ${PROJECT_SOURCE_DIR} ${TESSEL_EPOCH_FILE} COMMAND_ERROR_IS_FATAL ANY)
  add_custom_target(tessel_source_epoch ALL
    COMMAND ${TESSEL_PYTHON} ${TESSEL_RELEASE_FILES} epoch ${PROJECT_SOURCE_DIR} ${TESSEL_EPOCH_FILE}
    BYPRODUCTS ${TESSEL_EPOCH_FILE}
    COMMENT "Time stamp of the last commit"
    VERBATIM)
  set(CMAKE_C_LINKER_LAUNCHER sh ${PROJECT_SOURCE_DIR}/cmake/link-at-epoch.sh ${TESSEL_EPOCH_FILE})
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_C_LINKER_LAUNCHER})
endif()

# Our own code: charset, warnings as errors, no exceptions or RTTI.
function(tessel_code_options target)
  target_compile_options(${target} PRIVATE ${TESSEL_CHARSET_FLAGS} ${TESSEL_WARNING_FLAGS}
    ${TESSEL_PREFIX_MAP_FLAGS}
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(TESSEL_WINDOWS)
    target_compile_definitions(${target} PUBLIC ${TESSEL_WIN_DEFS})
  endif()
endfunction()

# A pure library: no <windows.h>, built in every tree.
function(tessel_core_library name)
  add_library(${name} STATIC ${ARGN})
  tessel_code_options(${name})
endfunction()

# A Win32 layer library: only in the Windows trees.
function(tessel_win_library name)
  if(TESSEL_WINDOWS)
    add_library(${name} STATIC ${ARGN})
    tessel_code_options(${name})
  endif()
endfunction()

# A GUI program, statically linked, importing only system DLLs.
function(tessel_program name)
  add_executable(${name} WIN32 ${ARGN})
  tessel_code_options(${name})
  target_link_options(${name} PRIVATE ${TESSEL_STATIC_LINK} -mwindows -s)
  # Linked again when the time of the last commit changes.
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${TESSEL_EPOCH_FILE})
  add_dependencies(${name} tessel_source_epoch)
endfunction()
