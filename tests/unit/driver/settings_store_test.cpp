// Settings: defaults, registry persistence, bounds at load, the shared image.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "driver/codec_instance.h"
#include "platform/thread_pool.h"
#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

using lumacore::CodecSettings;
using platform_test::RegistryValueData;

// The sixteen persisted values, in record order, with their defaults.
struct PersistedValue {
    const char* name;
    DWORD default_value;
};
constexpr PersistedValue kPersisted[16] = {
    {"enc_matrix", 1},           {"dec_matrix", 1},
    {"enc_matrix_hd", 5},        {"dec_matrix_hd", 5},
    {"fourcc_used", 0x59565955}, {"fourcc_bitcount", 16},
    {"top_field_first", 0},      {"invert_input", 0},
    {"invert_output", 0},        {"board_align_720", 0},
    {"board_align_VESA", 0},     {"disable_transcode", 0},
    {"disable_transcode_color", 0}, {"disable_transcode_8_10", 0},
    {"disable_transcode_direct", 0}, {"use_system_codec", 0},
};

// The stored DWORD of a value; fails the test when the value is missing or
// not a 4-byte REG_DWORD.
std::int32_t StoredDword(const std::string& name) {
    RegistryValueData v;
    if (!platform_test::ReadRegistryValue(HKEY_CURRENT_USER, kKeyPath, name, &v)) {
        ADD_FAILURE() << name << " is missing";
        return 0;
    }
    EXPECT_EQ(v.type, DWORD(REG_DWORD)) << name;
    EXPECT_EQ(v.data.size(), 4u) << name;
    std::int32_t out = 0;
    std::memcpy(&out, v.data.data(), std::min<size_t>(4, v.data.size()));
    return out;
}

void StoreDword(const std::string& name, std::int32_t value) {
    platform_test::WriteRegistryDword(HKEY_CURRENT_USER, kKeyPath, name, DWORD(value));
}

using SettingsStoreTest = DriverTest;

TEST_F(SettingsStoreTest, FirstRunCreatesKeyWithSixteenDefaultDwords) {
    ASSERT_FALSE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));

    Instance instance = OpenFor(Fcc("UYVY"));
    ASSERT_TRUE(instance);
    EXPECT_EQ(Fields(instance.State()), kDefaultFields);

    ASSERT_TRUE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));
    EXPECT_FALSE(platform_test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kKeyPath));
    EXPECT_EQ(platform_test::RegistryKeyClass(HKEY_CURRENT_USER, kKeyPath), "config");

    // Exactly the sixteen values: the two non-persisted fields are not written.
    EXPECT_EQ(platform_test::RegistryValueNames(HKEY_CURRENT_USER, kKeyPath).size(), 16u);
    for (const PersistedValue& v : kPersisted) EXPECT_EQ(StoredDword(v.name), std::int32_t(v.default_value)) << v.name;

    // A second open reads the key it created; nothing is logged on the way.
    Instance second = OpenWithoutParams();
    EXPECT_EQ(Fields(second.State()), kDefaultFields);
    EXPECT_TRUE(platform_test::DebugOutput().empty());
}

TEST_F(SettingsStoreTest, LoadBringsStoredValuesInsideTheirBoundsButLeavesTheRegistry) {
    struct Case {
        const char* name;
        std::int32_t stored;
        std::int32_t loaded;
        std::int32_t CodecSettings::*field;
    };
    const Case cases[] = {
        {"enc_matrix", 9, 5, &CodecSettings::enc_matrix},
        {"enc_matrix", -1, 0, &CodecSettings::enc_matrix},
        {"dec_matrix_hd", 6, 5, &CodecSettings::dec_matrix_hd},
        {"board_align_720", 3, 2, &CodecSettings::board_align_720},
        {"board_align_VESA", 2, 1, &CodecSettings::board_align_VESA},
        {"top_field_first", 7, 1, &CodecSettings::top_field_first},
        {"fourcc_bitcount", 8, 15, &CodecSettings::fourcc_bitcount},
        {"fourcc_bitcount", 14, 15, &CodecSettings::fourcc_bitcount},
        {"fourcc_bitcount", 24, 24, &CodecSettings::fourcc_bitcount},
        {"fourcc_bitcount", 40, 32, &CodecSettings::fourcc_bitcount},
        {"fourcc_bitcount", -1, 32, &CodecSettings::fourcc_bitcount},
        {"fourcc_used", std::int32_t(Fcc("v210")), std::int32_t(Fcc("v210")), &CodecSettings::fourcc_used},
        {"fourcc_used", -7, -7, &CodecSettings::fourcc_used},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " stored as " + std::to_string(c.stored));
        ResetProcessState();
        StoreDword(c.name, c.stored);

        Instance instance = OpenWithoutParams();
        ASSERT_TRUE(instance);
        const CodecSettings loaded = instance.State();
        EXPECT_EQ(loaded.*c.field, c.loaded);

        // Every other field is at its default: the key existed, so nothing
        // else was filled in or written back.
        SettingsFields expected = kDefaultFields;
        CodecSettings expected_record;
        std::memcpy(&expected_record, expected.data(), sizeof expected_record);
        expected_record.*c.field = c.loaded;
        EXPECT_EQ(Fields(loaded), Fields(expected_record));
        EXPECT_EQ(StoredDword(c.name), c.stored);
        EXPECT_EQ(platform_test::RegistryValueNames(HKEY_CURRENT_USER, kKeyPath).size(), 1u);
    }
}

// The optional "threads" value sets the bands of an instance opened after it;
// the driver only reads it.
TEST_F(SettingsStoreTest, ThreadsValueSetsTheBandsOfLaterOpens) {
    const std::uint32_t all = std::min(lumacore::LogicalProcessors(), lumacore::kMaxBands);
    struct Case {
        std::int64_t stored;  // -1: absent
        std::uint32_t bands;
    };
    for (const Case& c : {Case{-1, all}, Case{0, all}, Case{1, 1}, Case{3, 3}, Case{99, 16}}) {
        ResetProcessState();
        if (c.stored >= 0) StoreDword("threads", std::int32_t(c.stored));
        Instance instance = OpenFor(Fcc("UYVY"));
        ASSERT_TRUE(instance);
        EXPECT_EQ(reinterpret_cast<const lumacore::CodecInstance*>(instance.id())->bands, c.bands) << c.stored;
        EXPECT_EQ(platform_test::RegistryValueNames(HKEY_CURRENT_USER, kKeyPath).size(), c.stored >= 0 ? 1u : 16u);  // nothing written beside it
    }
}

TEST_F(SettingsStoreTest, KeyCreationFailureIsReportedOnceAndChangesNothing) {
    const std::vector<std::string> kMessage = {"Creating LUMACORE_REG_SUBKEY string failed"};

    // A save that cannot create the key leaves the registry and the image alone.
    CodecSettings first{};
    std::memcpy(&first, kDefaultFields.data(), sizeof first);
    first.enc_matrix = 2;
    first.cpu_disable_mask = 4;
    lumacore::SaveSettings(first);
    ASSERT_TRUE(platform_test::DebugOutput().empty());

    platform_test::FailKeyCreation(true);
    CodecSettings second = first;
    second.enc_matrix = 0;
    second.cpu_disable_mask = 1;
    second.settings_accepted = 1;
    lumacore::SaveSettings(second);
    EXPECT_EQ(platform_test::DebugOutput(), kMessage);
    EXPECT_EQ(StoredDword("enc_matrix"), 2);
    platform_test::FailKeyCreation(false);

    Instance after = OpenWithoutParams();
    EXPECT_EQ(Fields(after.State()), Fields(first));
    EXPECT_EQ(platform_test::DebugOutput(), kMessage);

    // First run with a key that cannot be created: the open still succeeds
    // with the defaults (and the image's non-persisted fields), the message
    // goes out once, and no key appears.
    platform_test::ResetRegistry();
    platform_test::ClearDebugOutput();
    platform_test::FailKeyCreation(true);
    Instance first_run = OpenWithoutParams();
    ASSERT_TRUE(first_run);
    CodecSettings expected{};
    std::memcpy(&expected, kDefaultFields.data(), sizeof expected);
    expected.cpu_disable_mask = 4;
    EXPECT_EQ(Fields(first_run.State()), Fields(expected));
    EXPECT_EQ(platform_test::DebugOutput(), kMessage);
    EXPECT_FALSE(platform_test::RegistryKeyExists(HKEY_CURRENT_USER, kKeyPath));
}

}  // namespace
}  // namespace lumacore_test
