#include "installer/payload.h"

// Laid out by payload_blocks.S: each block is a 32-bit length followed by the
// file's bytes, in a read-only section of its own.
extern "C" const Bytes quillmere_payload_executable;
extern "C" const Bytes quillmere_payload_fixed_deposits;
extern "C" const Bytes quillmere_payload_matured_deposits;

constinit const Payload PayloadTable[3] = {
    {"\\Quillmere.exe", &quillmere_payload_executable},
    {"\\定期存款.edb", &quillmere_payload_fixed_deposits},
    {"\\到期存款.edb", &quillmere_payload_matured_deposits},
};
