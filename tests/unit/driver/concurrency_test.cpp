// Several hosts' threads opening, asking, converting with and closing
// instances at once. Run under the sanitizers, this is mostly a check for
// races on the module-wide values (last opened FourCC, shared settings image,
// registry access) and on what conversions set up at their first use.
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "dispatch/convert_frame.h"
#include "platform/thread_pool.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using ConcurrencyTest = DriverTest;

TEST_F(ConcurrencyTest, InstancesOnSeveralThreadsAtOnce) {
    const DWORD fourccs[] = {Fcc("UYVY"), Fcc("v210"), Fcc("YV12"), Fcc("a12v")};
    constexpr int kRounds = 40;
    std::atomic<int> failures{0};
    std::atomic<bool> go{false};

    std::vector<std::thread> threads;
    for (DWORD fcc : fourccs) {
        threads.emplace_back([&, fcc] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < kRounds; ++i) {
                ICOPEN open = OpenParams(fcc);
                const LRESULT id = DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&open));
                if (!id || open.dwError != ICERR_OK) {
                    ++failures;
                    continue;
                }
                ICINFO info{};
                if (DriverProc(DWORD_PTR(id), nullptr, ICM_GETINFO, LPARAM(&info), sizeof info) != 568) ++failures;
                // Whatever another thread opened last, it is one of ours, whole.
                bool ours = false;
                for (DWORD f : fourccs) ours |= info.fccHandler == f;
                if (!ours) ++failures;

                // A small frame each way: RGB32 compressed to the format the
                // instance proposes, and that decompressed back to RGB32.
                BITMAPINFOHEADER rgb{sizeof(BITMAPINFOHEADER), 48, 8, 1, 32, BI_RGB, 48 * 8 * 4, 0, 0, 0, 0};
                BITMAPINFOHEADER ycc{};
                if (DriverProc(DWORD_PTR(id), nullptr, ICM_COMPRESS_GET_FORMAT, LPARAM(&rgb), LPARAM(&ycc)) !=
                        ICERR_OK ||
                    ycc.biSizeImage == 0) {
                    ++failures;
                } else {
                    std::vector<std::uint8_t> pixels(rgb.biSizeImage, 0x7F), frame(ycc.biSizeImage), back(rgb.biSizeImage);
                    DWORD flags = 0, ckid = 0;
                    ICCOMPRESS compress{};
                    compress.lpbiOutput = &ycc;
                    compress.lpOutput = frame.data();
                    compress.lpbiInput = &rgb;
                    compress.lpInput = pixels.data();
                    compress.lpckid = &ckid;
                    compress.lpdwFlags = &flags;
                    ICDECOMPRESS decompress{0, &ycc, frame.data(), &rgb, back.data(), 0};
                    if (DriverProc(DWORD_PTR(id), nullptr, ICM_COMPRESS, LPARAM(&compress), sizeof compress) !=
                            ICERR_OK ||
                        DriverProc(DWORD_PTR(id), nullptr, ICM_DECOMPRESS, LPARAM(&decompress), sizeof decompress) !=
                            ICERR_OK)
                        ++failures;
                }

                if (DriverProc(DWORD_PTR(id), nullptr, ICM_SETSTATE, 0, 0) != 0) ++failures;
                lumacore::CodecSettings state{};
                if (DriverProc(DWORD_PTR(id), nullptr, ICM_GETSTATE, LPARAM(&state), sizeof state) != ICERR_OK ||
                    Fields(state) != kDefaultFields)
                    ++failures;
                if (DriverProc(DWORD_PTR(id), nullptr, DRV_CLOSE, 0, 0) != 1) ++failures;
            }
        });
    }
    go = true;
    for (std::thread& t : threads) t.join();

    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(platform_test::DebugOutput().empty());
    EXPECT_EQ(platform_test::RegistryValueNames(HKEY_CURRENT_USER, kKeyPath).size(), 16u);
}

// Saves (an accepted configure exchange) racing with loads (opens): each
// load sees one whole saved record, never a mixture.
TEST_F(ConcurrencyTest, SavesAndLoadsDoNotTear) {
    lumacore::CodecSettings first = lumacore::DefaultSettings();
    first.enc_matrix = first.dec_matrix = first.enc_matrix_hd = first.dec_matrix_hd = 0;
    lumacore::SaveSettings(first);
    std::atomic<bool> go{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load()) std::this_thread::yield();
            lumacore::CodecSettings s = lumacore::DefaultSettings();
            for (int i = 0; i < 100; ++i) {
                s.enc_matrix = s.dec_matrix = s.enc_matrix_hd = s.dec_matrix_hd = (t + i) % 6;
                lumacore::SaveSettings(s);
            }
        });
        threads.emplace_back([&] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < 100; ++i) {
                lumacore::CodecSettings s{};
                lumacore::LoadSettings(&s);
                if (s.enc_matrix != s.dec_matrix || s.enc_matrix != s.enc_matrix_hd ||
                    s.enc_matrix != s.dec_matrix_hd)
                    ++torn;
            }
        });
    }
    go = true;
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(torn.load(), 0);
}

// Bands on the thread pool from several threads at once: every band runs
// once, all of them have run when the call returns, and a frame converted in
// bands is the frame converted whole.
TEST_F(ConcurrencyTest, BandsRunOnceEachAndAreDoneOnReturn) {
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            const std::vector<std::uint8_t> uyvy(2 * 64 * 30, std::uint8_t(40 + 50 * t));
            BITMAPINFOHEADER in{sizeof(BITMAPINFOHEADER), 64, 30, 1, 16, Fcc("UYVY"), 0, 0, 0, 0, 0};
            BITMAPINFOHEADER out{sizeof(BITMAPINFOHEADER), 64, 30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            std::vector<std::uint8_t> whole(4 * 64 * 30), banded(whole.size());
            for (std::uint32_t bands : {1u, 4u}) {
                auto& dst = bands == 1 ? whole : banded;
                lumacore::ConvertFrame(lumacore::BoardAlignment{}, lumacore::FMT_UYVY, &in, uyvy.data(), 0,
                                       lumacore::FMT_RGB32, &out, dst.data(), std::uint32_t(dst.size()), 1, bands);
            }
            failures += whole != banded;
            for (std::uint32_t count : {0u, 1u, 2u, 3u, 7u, 16u})
                for (std::uint32_t threads : {0u, 1u, 2u, 5u}) {
                    std::vector<std::uint32_t> runs(count);
                    lumacore::RunBands(
                        count, threads,
                        [](void* c, std::uint32_t band) { ++(*static_cast<std::vector<std::uint32_t>*>(c))[band]; },
                        &runs);
                    for (std::uint32_t n : runs) failures += n != 1;
                }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_GE(lumacore::LogicalProcessors(), 1u);
}

}  // namespace
}  // namespace lumacore_test
