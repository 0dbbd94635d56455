// Names of their own for code compiled per instruction set.
//
// Helpers defined in headers (inline functions, templates, the static locals
// of templates) are emitted into every object that uses them, and the linker
// keeps one copy for all. Objects compiled with -mavx2 and objects compiled
// for an older processor must never define the same name, or the older path
// may run the AVX2 copy. The build defines LUMACORE_ISA for every source
// compiled for one instruction set (sse2, ssse3, avx2, ...); everything else
// is the baseline. Helpers that such sources share live in
//
//     namespace lumacore { inline namespace LUMACORE_ISA { ... } }
//
// so every object mangles them under its own instruction set, while the code
// reads as if they were in lumacore itself. scripts/check-isa-symbols.sh
// checks the objects of every build.
#pragma once

#ifndef LUMACORE_ISA
#define LUMACORE_ISA baseline
#endif
