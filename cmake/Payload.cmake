# The three embedded files: checked at configure time, assembled into a
# read-only section of their own by payload_blocks.S.
set(QUILLMERE_PAYLOAD_DIR "${PROJECT_SOURCE_DIR}/payload" CACHE PATH
    "Folder that holds the application's files under their target names")

# The length of a block is a signed 32-bit count.
set(_largest_payload 2147483647)

function(quillmere_payload_file variable name)
  set(path "${QUILLMERE_PAYLOAD_DIR}/${name}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "payload file missing: ${path}")
  endif()
  if(IS_DIRECTORY "${path}")
    message(FATAL_ERROR "payload file is a folder: ${path}")
  endif()
  file(SIZE "${path}" size)
  if(size GREATER _largest_payload)
    message(FATAL_ERROR "payload file too large (${size} bytes, at most ${_largest_payload}): ${path}")
  endif()
  set(${variable} "${path}" PARENT_SCOPE)
  set_property(GLOBAL APPEND PROPERTY QUILLMERE_PAYLOAD_FILES "${path}")
endfunction()

if(NOT IS_DIRECTORY "${QUILLMERE_PAYLOAD_DIR}")
  message(FATAL_ERROR "payload folder is not a folder: ${QUILLMERE_PAYLOAD_DIR}")
endif()
quillmere_payload_file(QUILLMERE_PAYLOAD_EXECUTABLE "Quillmere.exe")
quillmere_payload_file(QUILLMERE_PAYLOAD_FIXED_DEPOSITS "定期存款.edb")
quillmere_payload_file(QUILLMERE_PAYLOAD_MATURED_DEPOSITS "到期存款.edb")

set(QUILLMERE_PAYLOAD_SOURCE "${PROJECT_BINARY_DIR}/generated/payload_blocks.S")
configure_file("${PROJECT_SOURCE_DIR}/installer/payload_blocks.S.in" "${QUILLMERE_PAYLOAD_SOURCE}" @ONLY)
get_property(_payload_files GLOBAL PROPERTY QUILLMERE_PAYLOAD_FILES)
# .incbin is not seen by the compiler's dependency scan.
set_source_files_properties("${QUILLMERE_PAYLOAD_SOURCE}" PROPERTIES OBJECT_DEPENDS "${_payload_files}")
