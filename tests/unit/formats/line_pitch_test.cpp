// Destination pitches under the board alignments, and the frame sizes the
// codec writes.
#include <gtest/gtest.h>

#include "formats/line_pitch.h"

namespace lumacore {
namespace {

BoardAlignment Aligned(int align_720, int align_vesa) { return {align_720, align_vesa}; }

TEST(LinePitch, V210LinesArePaddedTo128ByteBlocksWhateverTheSettings) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {720, 1920}, {1280, 3456}, {1920, 5120}, {2048, 5504}, {3840, 10240},
        {352, 1024}, {640, 1792},  {704, 1920},  {800, 2176},  {4096, 11008}, {1, 128}, {48, 128}, {49, 256},
    };
    for (auto [width, pitch] : cases) {
        for (int a720 = 0; a720 <= 2; ++a720) {
            for (int vesa = 0; vesa <= 1; ++vesa) {
                EXPECT_EQ(DestinationLinePitch(Aligned(a720, vesa), FMT_V210, width), pitch) << width;
                EXPECT_EQ(DestinationLinePitch(Aligned(a720, vesa), FMT_A12V, width), pitch) << width;
            }
        }
    }
}

TEST(LinePitch, BoardAlignmentsRoundOnlyTheirWidths) {
    const BoardAlignment none = Aligned(0, 0), vesa = Aligned(0, 1), hd = Aligned(1, 0), hd2 = Aligned(2, 0);
    // VESA rasters: 640 and 800, any code except those with fixed pitches.
    EXPECT_EQ(DestinationLinePitch(none, FMT_RGB24, 800), 2400u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_RGB24, 800), 2432u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_UYVY, 800), 1664u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_UYVY, 640), 1280u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_YV12, 800), 896u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_UYVY, 720), 1440u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_UYVY, 1280), 2560u);
    // 1280: only the value 1 of the 720p setting counts.
    EXPECT_EQ(DestinationLinePitch(hd, FMT_RGB24, 1280), 3840u);
    EXPECT_EQ(DestinationLinePitch(hd, FMT_YV12, 1280), 1280u);
    EXPECT_EQ(DestinationLinePitch(Aligned(1, 0), FMT_YUY2, 1284), 2568u);
    EXPECT_EQ(DestinationLinePitch(hd, FMT_I420, 1280), 1280u);
    EXPECT_EQ(DestinationLinePitch(hd2, FMT_RGB24, 1280), 3840u);
    // Fixed pitches whatever the settings.
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_RGB32, 800), 3200u);
    EXPECT_EQ(DestinationLinePitch(vesa, FMT_AUV2, 800), 1600u);
}

TEST(LinePitch, CodecFrameSizesIncludeAlphaAndRefuseOverflow) {
    EXPECT_EQ(CodecFrameSize(FMT_UYVY, 720, 486), 699840u);
    EXPECT_EQ(CodecFrameSize(FMT_V210, 1920, 1080), 5529600u);
    EXPECT_EQ(CodecFrameSize(FMT_V210, 1280, 720), 2488320u);
    EXPECT_EQ(CodecFrameSize(FMT_V210, 352, 288), 294912u);
    EXPECT_EQ(CodecFrameSize(FMT_A12V, 1280, 720), 2488320u + 720u * 1708u);
    EXPECT_EQ(CodecFrameSize(FMT_A12V, 720, 486), 1399680u);
    EXPECT_EQ(CodecFrameSize(FMT_AUV2, 720, 486), 1049760u);
    EXPECT_EQ(CodecFrameSize(FMT_YV12, 720, 480), 518400u);
    EXPECT_EQ(CodecFrameSize(FMT_RGB24, 854, 480), 2564u * 480u);
    EXPECT_EQ(CodecFrameSize(FMT_UYVY, 65536, 65536), 0u);
    EXPECT_EQ(CodecFrameSize(FMT_UYVY, kMaxFrameWidth + 1, 1), 0u);
    EXPECT_EQ(CodecFrameSize(-1, 720, 486), 0u);
}

}  // namespace
}  // namespace lumacore
