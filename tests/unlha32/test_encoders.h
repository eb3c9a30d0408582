// Tiny encoders for the methods this library only reads (lh1, lzs, lz5) and for lh4: they make
// the test archives that the decoders, and the independent readers, are checked against.
#pragma once

#include <string>

namespace unlha32::test {

std::string EncodeLh1(const std::string& data);
std::string EncodeLzs(const std::string& data);
// With `useInitialDictionary` the first bytes are copied from lz5's preset dictionary.
std::string EncodeLz5(const std::string& data);
std::string EncodeLh4(const std::string& data);

// One lh0-or-other entry with a level 2 header, named as given, and the end mark.
std::string ArchiveOf(const std::string& method, const std::string& name,
                      const std::string& original, const std::string& packed);
// Header level 0, 1 and 3 entries, as other tools write them. A Unix mode given to level 0 goes
// into LHa for UNIX's extended area ('U', time, mode, uid, gid).
std::string Level0Entry(const std::string& method, const std::string& name,
                        const std::string& original, const std::string& packed, int unixMode = -1);
std::string Level1Entry(const std::string& method, const std::string& name,
                        const std::string& folder, const std::string& original,
                        const std::string& packed);
std::string Level3Entry(const std::string& method, const std::string& name,
                        const std::string& original, const std::string& packed);

}  // namespace unlha32::test
