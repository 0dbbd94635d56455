// The FourCCs the codec answers under, what it calls them, and the layout
// each maps to.
#pragma once

#include <cstdint>

#include "formats/format_code.h"

namespace lumacore {

// Accepted bit counts, one bit per count.
using BitCountSet = std::uint32_t;
constexpr BitCountSet Bits(int count) { return BitCountSet(1) << count; }

struct FourccEntry {
    std::uint32_t fourcc;
    FormatCode code;
    BitCountSet bit_counts;   // what the header mapper accepts
    bool known;               // one of the twenty the driver answers under
    const char* name;         // ICM_GETINFO name; null: the generic row
    const char* description;
};

inline constexpr int kKnownFourccCount = 20;
extern const FourccEntry kFourccCatalogue[];
extern const int kFourccCatalogueSize;

inline constexpr char kGenericName[] = "Lumacore";
inline constexpr char kGenericDescription[] = "OV 8/10 Bit Y'CbCr 422/420";

// The catalogue row of a FourCC (exact match), or null.
const FourccEntry* FindFourcc(std::uint32_t fourcc);

bool IsKnownFourcc(std::uint32_t fourcc);

// The bit count a header of this FourCC carries: 12 for the 4:2:0 layouts,
// 16 for every other one.
std::int32_t NaturalBitCount(std::uint32_t fourcc);

// Known FourCCs pass unchanged; any other has its lower-case ASCII letters
// upper-cased. Never lower-cases.
std::uint32_t NormaliseFourcc(std::uint32_t fourcc);

}  // namespace lumacore
