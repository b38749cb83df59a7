// The bulk of a registry: trees of settings that name no file (numbers,
// flags, binary blobs, words, versions, addresses), about two values a
// key, a few keys without values, some names not in ASCII.
#pragma once

#include <cstdint>
#include <string>

#include "synthetic/RegExportWriter.h"
#include "synthetic/SplitMix.h"

namespace kelvara::bench {

// Writes the values of one settings key: between `minValues` and about
// five, two on average.
void WriteSettingValues(RegExportWriter& reg, SplitMix& rng, int minValues);
// Writes a tree of about `keys` keys below `path` (the key `path` itself
// included and given at least one value), at most `depth` levels deep.
void WriteSettingsTree(RegExportWriter& reg, SplitMix& rng, const std::wstring& path, std::uint64_t keys, int depth);

}  // namespace kelvara::bench
