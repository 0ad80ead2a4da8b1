#pragma once

#include "host/bytes.h"

// One embedded file: where it goes, joined directly to the run directory,
// and its exact contents as they lie in the image.
struct Payload {
  const char* target_name;
  const Bytes* contents;
};

// In the order in which the extraction tests and writes them; the
// application's executable comes first.
extern const Payload PayloadTable[3];
