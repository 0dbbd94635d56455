// Work in bands on the operating system's thread pool.
#pragma once

#include <cstdint>

namespace lumacore {

using BandWork = void (*)(void* context, std::uint32_t band);

// Calls work(context, band) once for every band of 0 .. count - 1 and returns
// when all are done, on at most `threads` threads: the calling thread and up
// to threads - 1 pool threads take bands as they come free, so a pool thread
// that wakes late leaves its share to the others and a busy pool delays
// nothing. No work is outstanding when the call returns, so the module may be
// unloaded at any time. Where no pool work can be made, the calling thread
// does every band.
void RunBands(std::uint32_t count, std::uint32_t threads, BandWork work, void* context);

// The machine's logical processors, at least 1.
std::uint32_t LogicalProcessors();

}  // namespace lumacore
