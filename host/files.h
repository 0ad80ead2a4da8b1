#pragma once

#include <span>

#include "host/bytes.h"
#include "host/text.h"

// Whether anything at all exists under the path: a file of any attributes, a
// directory, or, for a wildcard in the last element, any matching entry.
bool FileExists(const Text& path);

// Creates or truncates the file and writes the blocks in order, each in one
// call straight from where it lies. True only when every byte went out and
// the file was closed. A file that this call created or truncated is deleted
// again when a write or the close fails: a cut-short file would count as
// present from then on.
bool WriteBytesToFile(const Text& path, std::span<const Bytes* const> blocks);
bool WriteBytesToFile(const Text& path, const Bytes& block);
