# Optional Authenticode signing of the installer. Unsigned unless a
# certificate is given; the password is only read from the environment when
# the build signs, so it is in no cache, no build file and no command line.
set(QUILLMERE_SIGNING_CERTIFICATE "" CACHE FILEPATH
    "PKCS#12 file to sign the installer with (its password in QUILLMERE_SIGNING_PASSWORD at build time); empty for an unsigned installer")
set(QUILLMERE_SIGNING_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 time-stamp server for the signature, so that it outlives the certificate; empty for none")

if(QUILLMERE_SIGNING_CERTIFICATE)
  if(NOT EXISTS "${QUILLMERE_SIGNING_CERTIFICATE}" OR IS_DIRECTORY "${QUILLMERE_SIGNING_CERTIFICATE}")
    # A leading space keeps CMake from wrapping the line before the path.
    message(FATAL_ERROR " signing certificate missing: ${QUILLMERE_SIGNING_CERTIFICATE}")
  endif()
  find_program(QUILLMERE_OSSLSIGNCODE osslsigncode)
  if(NOT QUILLMERE_OSSLSIGNCODE)
    message(FATAL_ERROR " osslsigncode not found, which signing needs; run ./setup.sh")
  endif()
  set(timestamp)
  if(QUILLMERE_SIGNING_TIMESTAMP_URL)
    set(timestamp --timestamp "${QUILLMERE_SIGNING_TIMESTAMP_URL}")
  endif()
  # In place, right after the link: no unsigned installer is ever the
  # finished one, and a relink signs again.
  add_custom_command(TARGET quillmere_setup POST_BUILD
    COMMAND "${PROJECT_SOURCE_DIR}/cmake/sign-installer"
            "${QUILLMERE_OSSLSIGNCODE}" "${QUILLMERE_SIGNING_CERTIFICATE}" "$<TARGET_FILE:quillmere_setup>" ${timestamp}
    COMMENT "Signing $<TARGET_FILE_NAME:quillmere_setup>"
    VERBATIM)
endif()
