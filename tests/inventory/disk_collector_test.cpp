#include <gtest/gtest.h>

#include <cstring>

#include "inventory/disk_collector.h"

namespace tq {
namespace {

// A storage device descriptor: the 32-byte fixed part through the bus type,
// then the strings wherever the case puts them.
class Descriptor {
  public:
    Descriptor() : bytes(40, 0) {}
    Descriptor& string_at(std::size_t field, const std::string& text, bool nul = true) {
        const auto offset = static_cast<std::uint32_t>(bytes.size());
        set32(field, offset);
        bytes.insert(bytes.end(), text.begin(), text.end());
        if (nul)
            bytes.push_back(0);
        return *this;
    }
    Descriptor& set32(std::size_t at, std::uint32_t value) {
        std::memcpy(bytes.data() + at, &value, 4);
        return *this;
    }
    Descriptor& vendor(const std::string& t) { return string_at(12, t); }
    Descriptor& product(const std::string& t) { return string_at(16, t); }
    Descriptor& revision(const std::string& t) { return string_at(20, t); }
    Descriptor& serial(const std::string& t, bool nul = true) { return string_at(24, t, nul); }
    Descriptor& bus(std::uint32_t b) { return set32(28, b); }
    std::vector<std::uint8_t> bytes;
};

TEST(DiskCollector, BusTypes) {
    const std::pair<std::uint32_t, DiskBusType> cases[] = {
        {11, DiskBusType::SATA},  {17, DiskBusType::NVMe},  {7, DiskBusType::USB},
        {8, DiskBusType::RAID},   {10, DiskBusType::Other}, {1, DiskBusType::Other},
        {18, DiskBusType::Other}, {0, DiskBusType::Other},  {3, DiskBusType::Other},
        {9, DiskBusType::Other},  {16, DiskBusType::Other}, {0xFFFFFFFFu, DiskBusType::Other},
    };
    for (const auto& [bus, expected] : cases)
        EXPECT_EQ(map_storage_bus_type(bus), expected) << bus;
    EXPECT_EQ(new_disk_record().bus_type, DiskBusType::Unknown);
}

TEST(DiskCollector, DescriptorStrings) {
    struct Case {
        const char* what;
        Descriptor d;
        const char* model;
        const char* serial;
        const char* firmware;
    };
    std::vector<Case> cases;
    cases.push_back({"padded product id",
                     Descriptor()
                         .vendor("ATA")
                         .product("Samsung SSD 870   ")
                         .revision(" SVT02B6Q ")
                         .serial("  S5Y1NX0T123456  ")
                         .bus(11),
                     "Samsung SSD 870", "S5Y1NX0T123456", "SVT02B6Q"});
    cases.push_back({"empty product id falls back to vendor",
                     Descriptor().vendor("  Generic  ").product("").serial("1"), "Generic", "1",
                     ""});
    cases.push_back({"product id of spaces falls back to vendor",
                     Descriptor().vendor("Kingston").product("    \t"), "Kingston", "", ""});
    cases.push_back({"serial offset 0", Descriptor().product("Disk"), "Disk", "", ""});
    cases.push_back({"serial offset past the end", Descriptor().product("Disk").set32(24, 4000),
                     "Disk", "", ""});
    cases.push_back({"serial offset at the end exactly", Descriptor().product("Disk").set32(24, 45),
                     "Disk", "", ""});
    cases.push_back({"serial without NUL runs to the end",
                     Descriptor().product("Disk").serial("ABC123", false), "Disk", "ABC123", ""});
    cases.push_back({"ill-formed bytes are replaced",
                     Descriptor().product("Disk\xFF").serial("\xC3\xA9t\xC3"), "Disk\xEF\xBF\xBD",
                     "\xC3\xA9t\xEF\xBF\xBD", ""});
    for (auto& c : cases) {
        DiskInfo disk = new_disk_record();
        EXPECT_TRUE(apply_device_descriptor(c.d.bytes, disk)) << c.what;
        EXPECT_EQ(disk.model, c.model) << c.what;
        EXPECT_EQ(disk.serial, c.serial) << c.what;
        EXPECT_EQ(disk.firmware, c.firmware) << c.what;
    }
}

TEST(DiskCollector, DescriptorBusAndShortDescriptors) {
    DiskInfo disk = new_disk_record();
    ASSERT_TRUE(apply_device_descriptor(Descriptor().product("NVMe disk").bus(17).bytes, disk));
    EXPECT_EQ(disk.bus_type, DiskBusType::NVMe);

    // Shorter than the fixed part: no descriptor at all, even though the
    // offsets that are there point at text.
    auto bytes = Descriptor().product("Disk").bus(11).bytes;
    std::vector<std::uint8_t> short_one(bytes.begin(), bytes.begin() + 31);
    DiskInfo untouched = new_disk_record();
    EXPECT_FALSE(apply_device_descriptor(short_one, untouched));
    EXPECT_EQ(untouched.bus_type, DiskBusType::Unknown);
    EXPECT_EQ(untouched.model, "");
    EXPECT_FALSE(apply_device_descriptor({}, untouched));

    // Exactly the fixed part: the bus type is read, offsets beyond are not.
    std::vector<std::uint8_t> fixed(bytes.begin(), bytes.begin() + 32);
    DiskInfo minimal = new_disk_record();
    EXPECT_TRUE(apply_device_descriptor(fixed, minimal));
    EXPECT_EQ(minimal.bus_type, DiskBusType::SATA);
    EXPECT_EQ(minimal.model, "");

    EXPECT_FALSE(is_trusted_descriptor_size(0));
    EXPECT_TRUE(is_trusted_descriptor_size(1));
    EXPECT_TRUE(is_trusted_descriptor_size(0x100000));
    EXPECT_FALSE(is_trusted_descriptor_size(0x100001));
}

TEST(DiskCollector, ReadCapacity) {
    std::array<std::uint8_t, 32> answer{};
    const std::uint32_t block = 512;
    const std::uint64_t blocks = 3907029168ull;
    std::memcpy(answer.data() + 8, &block, 4);
    std::memcpy(answer.data() + 16, &blocks, 8);
    EXPECT_EQ(size_from_read_capacity(answer), 512ull * 3907029168ull);
    const std::uint64_t length = 2000398934016ull;
    std::memcpy(answer.data() + 24, &length, 8);
    EXPECT_EQ(size_from_read_capacity(answer), length);
}

TEST(DiskCollector, FailurePrediction) {
    const struct {
        std::optional<std::uint32_t> flag;
        bool smart_ok;
        const char* text;
    } cases[] = {
        {std::nullopt, true, "Unavailable"},
        {0u, true, "Healthy"},
        {1u, false, "Warning"},
        {0x80000000u, false, "Warning"},
    };
    for (const auto& c : cases) {
        DiskInfo disk = new_disk_record();
        apply_failure_prediction(c.flag, disk);
        EXPECT_EQ(disk.smart_ok, c.smart_ok);
        EXPECT_EQ(disk.health_text, c.text);
    }
}

TEST(DiskCollector, KeepRule) {
    DiskInfo disk = new_disk_record();
    EXPECT_FALSE(keep_disk(disk));
    disk.firmware = "1.0";
    disk.bus_type = DiskBusType::SATA;
    EXPECT_FALSE(keep_disk(disk));
    disk.size_bytes = 1;
    EXPECT_TRUE(keep_disk(disk));
    disk.size_bytes = 0;
    disk.serial = "S";
    EXPECT_TRUE(keep_disk(disk));
    disk.serial.clear();
    disk.model = "M";
    EXPECT_TRUE(keep_disk(disk));
}

// A volume-disk-extents answer: count, 4 bytes of padding, 24-byte entries.
std::vector<std::uint8_t> extents(
    std::uint32_t count, const std::vector<std::pair<std::uint32_t, std::uint64_t>>& list) {
    std::vector<std::uint8_t> b(8 + 24 * list.size(), 0);
    std::memcpy(b.data(), &count, 4);
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::memcpy(b.data() + 8 + 24 * i, &list[i].first, 4);
        const std::uint64_t start = 1048576;
        std::memcpy(b.data() + 8 + 24 * i + 8, &start, 8);
        std::memcpy(b.data() + 8 + 24 * i + 16, &list[i].second, 8);
    }
    return b;
}

TEST(DiskCollector, ExtentWalk) {
    constexpr std::uint64_t GB = 1000000000ull;
    ExtentTable table{};
    record_volume_extents(extents(1, {{0, 100 * GB}}), table);
    record_volume_extents(extents(1, {{0, 400 * GB}}), table);
    record_volume_extents(extents(1, {{0, 50 * GB}}), table);
    EXPECT_EQ(table[0], 400 * GB);

    // Disk numbers above 31 and empty extents are ignored; a spanned volume
    // counts on each of its disks.
    record_volume_extents(extents(3, {{40, 9 * GB}, {2, 0}, {31, 7 * GB}}), table);
    EXPECT_EQ(table[2], 0u);
    EXPECT_EQ(table[31], 7 * GB);

    // A count larger than the entries returned reads only what is there.
    ExtentTable partial{};
    auto answer = extents(5, {{3, 5 * GB}, {4, 6 * GB}});
    answer.pop_back();
    record_volume_extents(answer, partial);
    EXPECT_EQ(partial[3], 5 * GB);
    EXPECT_EQ(partial[4], 0u);
    // 31 bytes or fewer carry nothing.
    record_volume_extents(std::vector<std::uint8_t>(31, 1), partial);
    EXPECT_EQ(partial[1], 0u);
}

TEST(DiskCollector, ExtentBufferGrowth) {
    std::vector<std::size_t> sizes;
    for (std::size_t s = 1024; s != 0; s = next_extent_buffer_size(s))
        sizes.push_back(s);
    EXPECT_EQ(sizes.front(), 1024u);
    EXPECT_EQ(sizes.back(), 1048576u);
    EXPECT_EQ(sizes.size(), 11u);
}

TEST(DiskCollector, SizeFallbackUsesOwnDriveNumber) {
    ExtentTable table{};
    table[0] = 111;
    table[1] = 400;
    std::vector<NumberedDisk> disks;
    DiskInfo listed = new_disk_record();
    listed.model = "Second drive";
    disks.push_back({1, listed});
    DiskInfo sized = new_disk_record();
    sized.serial = "X";
    sized.size_bytes = 5;
    disks.push_back({2, sized});
    DiskInfo nothing = new_disk_record();
    nothing.serial = "Y";
    disks.push_back({3, nothing});
    apply_extent_sizes(disks, table);
    EXPECT_EQ(disks[0].disk.size_bytes, 400u);
    EXPECT_EQ(disks[1].disk.size_bytes, 5u);
    EXPECT_EQ(disks[2].disk.size_bytes, 0u);
}

TEST(DiskCollector, RealMachine) {
    const auto disks = collect_disks();
    for (const auto& d : disks) {
        EXPECT_TRUE(keep_disk(d));
        const std::string bus = json(d)["bus_type"];
        EXPECT_TRUE(bus == "Unknown" || bus == "SATA" || bus == "NVMe" || bus == "USB" ||
                    bus == "RAID" || bus == "Other")
            << bus;
        EXPECT_TRUE(d.health_text == "Healthy" || d.health_text == "Warning" ||
                    d.health_text == "Unavailable");
        EXPECT_EQ(d.smart_ok, d.health_text != "Warning");
        EXPECT_EQ(d.volume_serial, "");
        EXPECT_EQ(d.drive_letter, "");
    }
    EXPECT_NO_THROW((void)json(disks).dump());
}

}  // namespace
}  // namespace tq
