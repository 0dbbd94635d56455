// The per-tier kernels behind the v210 packing and unpacking. They work on
// whole six-pixel groups: 12 bytes of UYVY-ordered 8-bit samples
// (Cb0 Y0 Cr0 Y1 Cb1 Y2 Cr1 Y3 Cb2 Y4 Cr2 Y5, the order of the v210 samples)
// and 16 bytes of v210, four little-endian words of three 10-bit samples.
// Each returns how many groups it did (a prefix, or all); it reads and
// writes only the bytes of those groups, and gives the plain kernel's bytes.
#pragma once

#include <cstdint>

namespace lumacore {

// 8-bit to v210: each sample times 4.
std::uint32_t PackGroupsPlain(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t PackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t PackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t PackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);

// v210 to 8-bit: the top eight bits of each sample (bits 30 and 31 of the
// words are ignored).
std::uint32_t UnpackGroupsPlain(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t UnpackGroupsSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t UnpackGroupsSsse3(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
std::uint32_t UnpackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);

// v210 groups straight to planes: six luma bytes a group to `y` and, with
// `cb` not null, three Cb and three Cr bytes a group to `cb` and `cr`. Does
// every group when there are four or more, else none (returns which); writes
// nothing beyond 6 x groups luma bytes and 3 x groups chroma bytes.
std::uint32_t UnpackGroupsToPlanesAvx2(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr, const std::uint8_t* src,
                                       std::uint32_t groups);

using GroupsKernel = std::uint32_t (*)(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups);
using GroupsToPlanesKernel = std::uint32_t (*)(std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr,
                                               const std::uint8_t* src, std::uint32_t groups);

// The kernel tables. The plain kernels do every group, but for the planes:
// there the plain code goes through UYVY order (none done).
struct V210PackKernels {
    GroupsKernel groups;
};
struct V210UnpackKernels {
    GroupsKernel groups;
    GroupsToPlanesKernel to_planes;
};
void InstallV210PackSse2(V210PackKernels& k);
void InstallV210PackSsse3(V210PackKernels& k);
void InstallV210PackAvx2(V210PackKernels& k);
void InstallV210UnpackSse2(V210UnpackKernels& k);
void InstallV210UnpackSsse3(V210UnpackKernels& k);
void InstallV210UnpackAvx2(V210UnpackKernels& k);

}  // namespace lumacore
