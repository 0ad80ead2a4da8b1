# cmake -DFOLDER=... -DMIB=... -DSOURCE=... -P make_payload.cmake
# A payload folder whose executable is exactly MIB MiB of fixed, non-zero
# bytes; the two databases are the real ones, so that only the executable's
# size differs from the shipped payload.
string(RANDOM LENGTH 4096 ALPHABET "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789" RANDOM_SEED 1 block)
math(EXPR repeats "${MIB} * 256")
string(REPEAT "${block}" ${repeats} contents)
file(MAKE_DIRECTORY "${FOLDER}")
file(WRITE "${FOLDER}/Quillmere.exe.tmp" "${contents}")
file(RENAME "${FOLDER}/Quillmere.exe.tmp" "${FOLDER}/Quillmere.exe")
foreach(name 定期存款.edb 到期存款.edb)
  file(COPY_FILE "${SOURCE}/${name}" "${FOLDER}/${name}")
endforeach()
