# The three embedded files: checked at configure time, assembled into a
# read-only section of their own by payload_blocks.S.
set(QUILLMERE_PAYLOAD_DIR "${PROJECT_SOURCE_DIR}/payload" CACHE PATH
    "Folder that holds the application's files under their target names")

# A leading space in a message keeps CMake from wrapping the line before the
# path.

# The length of a block is a signed 32-bit count.
set(QUILLMERE_LARGEST_PAYLOAD 2147483647)

function(_quillmere_payload_file variable folder name)
  set(path "${folder}/${name}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR " payload file missing: ${path}")
  endif()
  if(IS_DIRECTORY "${path}")
    message(FATAL_ERROR " payload file is a folder: ${path}")
  endif()
  file(SIZE "${path}" size)
  if(size GREATER QUILLMERE_LARGEST_PAYLOAD)
    message(FATAL_ERROR " payload file too large (${size} bytes, at most ${QUILLMERE_LARGEST_PAYLOAD}): ${path}")
  endif()
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# quillmere_payload_library(NAME FOLDER): a static library that holds the
# PayloadTable over the three files of FOLDER. With MADE_BY_BUILD the files
# need not exist yet at configure time (they are made by the build).
function(quillmere_payload_library name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "MADE_BY_BUILD" "" "")
  if(arg_MADE_BY_BUILD)
    set(QUILLMERE_PAYLOAD_EXECUTABLE "${folder}/Quillmere.exe")
    set(QUILLMERE_PAYLOAD_FIXED_DEPOSITS "${folder}/定期存款.edb")
    set(QUILLMERE_PAYLOAD_MATURED_DEPOSITS "${folder}/到期存款.edb")
  else()
    if(NOT IS_DIRECTORY "${folder}")
      message(FATAL_ERROR " payload folder is not a folder: ${folder}")
    endif()
    _quillmere_payload_file(QUILLMERE_PAYLOAD_EXECUTABLE "${folder}" "Quillmere.exe")
    _quillmere_payload_file(QUILLMERE_PAYLOAD_FIXED_DEPOSITS "${folder}" "定期存款.edb")
    _quillmere_payload_file(QUILLMERE_PAYLOAD_MATURED_DEPOSITS "${folder}" "到期存款.edb")
  endif()
  set(source "${PROJECT_BINARY_DIR}/generated/${name}_blocks.S")
  configure_file("${PROJECT_SOURCE_DIR}/installer/payload_blocks.S.in" "${source}" @ONLY)
  # .incbin is not seen by the compiler's dependency scan.
  set_source_files_properties("${source}" PROPERTIES OBJECT_DEPENDS
    "${QUILLMERE_PAYLOAD_EXECUTABLE};${QUILLMERE_PAYLOAD_FIXED_DEPOSITS};${QUILLMERE_PAYLOAD_MATURED_DEPOSITS}")
  add_library(${name} STATIC "${PROJECT_SOURCE_DIR}/installer/payload.cpp" "${source}")
  target_link_libraries(${name} PUBLIC quillmere_code_page PRIVATE quillmere_product_flags)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
endfunction()
