#include "decode/field_capture.hpp"
#include "qvmclient.h"
#include "smbios/decode/bios_characteristics.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using qvmtest::decoded;
using qvmtest::FieldCapture;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace
{

using Strings = std::vector<std::string>;

const char* const kBiosVendorNotice =
    "s:Notice:Bits 32:47 are reserved for BIOS Vendor";
const char* const kSystemVendorNotice =
    "s:Notice:Bits 48:64 are reserved for System Vendor";

// The characteristics field as it sits in a structure: little-endian, at an
// odd offset.
Strings characteristics(uint64_t value)
{
    uint8_t bytes[9] = {0xEE};
    for (int i = 0; i < 8; ++i)
        bytes[1 + i] = static_cast<uint8_t>(value >> (8 * i));
    return decoded(qvmAddBiosCharacteristics,
                   static_cast<const void*>(bytes + 1));
}

Strings extension2(uint32_t value, uint8_t major, uint8_t minor)
{
    FieldCapture fields;
    qvm::decode::addBiosCharacteristicsExt2(value, {major, minor},
                                            fields.list());
    return fields.strings();
}

} // namespace

TEST(BiosCharacteristics, NoBitsGiveTheValueAndTheVendorNotices)
{
    EXPECT_THAT(characteristics(0),
                ElementsAre("d:BIOS Characteristics:0", kBiosVendorNotice,
                            kSystemVendorNotice));
    // Vendor bits are summarised only, and the value is shown whole.
    EXPECT_THAT(characteristics(0x0102030400000000),
                ElementsAre("d:BIOS Characteristics:72623859706101760",
                            kBiosVendorNotice, kSystemVendorNotice));
}

TEST(BiosCharacteristics, NotSupportedBitDoesNotHideTheOthers)
{
    EXPECT_THAT(characteristics(0x08),
                ElementsAre("d:BIOS Characteristics:8",
                            "s:Notice:BIOS Characteristics Not Supported",
                            kBiosVendorNotice, kSystemVendorNotice));
    EXPECT_THAT(characteristics(0x18),
                ElementsAre("d:BIOS Characteristics:24",
                            "s:Notice:BIOS Characteristics Not Supported",
                            "s:ISA is supported:True", kBiosVendorNotice,
                            kSystemVendorNotice));
}

TEST(BiosCharacteristics, TheWholeFieldIsShownAsASignedNumber)
{
    EXPECT_THAT(characteristics(0xFFFFFFFF80000000),
                ElementsAre("d:BIOS Characteristics:-2147483648",
                            "d:NEC PC-98:31", kBiosVendorNotice,
                            kSystemVendorNotice));
}

TEST(BiosCharacteristics, EveryLowBitInAscendingOrder)
{
    const Strings expected = {
        "d:BIOS Characteristics:4294967295",
        "d:Reserved bit:0",
        "d:Reserved bit:1",
        "d:Unknown bit:2",
        "s:Notice:BIOS Characteristics Not Supported",
        "s:ISA is supported:True",
        "s:MSA is supported:True",
        "s:EISA is supported:True",
        "s:PCI is supported:True",
        "s:PC Card(PCMCIA) is supported:True",
        "s:Plug and play is supported:True",
        "s:APM is supported:True",
        "s:BIOS is Upgradeable(FLASH):True",
        "s:BIOS shadowing is allowed:True",
        "s:VL-VESA is supported:True",
        "s:ESCD support is available:True",
        "s:Boot form CD is supported:True",
        "s:Selectable Boot is supported:True",
        "s:BIOS ROM is socketed:True",
        "s:Boot From PC Card(PCMCIA)is supported:True",
        "s:EDD (Enhanced Disk Driver) Specification is supported:True",
        "s:Int 13h - Japanese Floppy for NEC 9800 1.2mb (3.5\",1k "
        "Bytes/Sector, 360 RPM) is supported:True",
        "s:Int 13h - Japanese Floppy for Toshiba 1.2mn (3.5\", 360 RPM) is "
        "supported:True",
        "s:Int 13h - 5.25\"/360KB Floppy Services are supported:True",
        "s:Int 13h - 5.25\"/1.2MB Floppy services are supported:True",
        "s:Int 13h - 3.5\"/720KB Floppy services are supported:True",
        "s:Int 13h - 3.5\"/2.88MB Floppy services are supported:True",
        "s:Int 5h, Print screen Services is supported:True",
        "s:Int 9h, 8042 Keyboard services are supported:True",
        "s:Int 14h, Serial Services are supported:True",
        "s:Int 17h, Printer services are supported:True",
        "s:Int 10h, CGA/Mono Video services are supported:True",
        "d:NEC PC-98:31",
        kBiosVendorNotice,
        kSystemVendorNotice,
    };
    EXPECT_THAT(characteristics(0xFFFFFFFF), ElementsAreArray(expected));
}

TEST(BiosCharacteristics, NullFieldOrListAppendsNothing)
{
    FieldCapture fields;
    qvmAddBiosCharacteristics(nullptr, fields.list());
    EXPECT_THAT(fields.strings(), IsEmpty());
    const uint8_t bytes[8] = {0xFF};
    qvmAddBiosCharacteristics(bytes, nullptr);
    qvmAddBiosCharacteristicsExt1(0xFF, nullptr);
    qvmAddBiosCharacteristicsExt2(0xFF, nullptr);
}

TEST(BiosCharacteristicsExt1, EveryBitInOrder)
{
    EXPECT_THAT(
        decoded(qvmAddBiosCharacteristicsExt1, 0xFFU),
        ElementsAre("d:BIOS Characteristics Extension Byte1:255",
                    "s:ACPI supported:True", "s:USB Legacy is supported:True",
                    "s:AGP is supported:True", "s:I2O boot is supported:True",
                    "s:LS-120 boot is supported:True",
                    "s:ATAPI ZIP Drive boot is supported:True",
                    "s:1394 boot is supported:True",
                    "s:Smart battery supported:True"));
    EXPECT_THAT(decoded(qvmAddBiosCharacteristicsExt1, 0U),
                ElementsAre("d:BIOS Characteristics Extension Byte1:0"));
}

namespace
{

const char* const kByte2 = "d:BIOS Characteristics Extension Byte2:15";
const char* const kBootSpec = "s:BIOS Boot Specification supported:True";
const char* const kNetworkBoot =
    "s:Function key-initiated Network Service boot supported:True";
const char* const kTargeted = "d:Enable Targeted Content Distribution:1";
const char* const kUefi = "s:UEFI Specification is supported:True";

std::string reserved(const char* bits)
{
    return std::string("s:Bits are reserved for future assignment:") + bits;
}

} // namespace

TEST(BiosCharacteristicsExt2, LaterVersionsDecodeMoreBits)
{
    EXPECT_THAT(
        extension2(0x0F, 2, 3),
        ElementsAre(kByte2, kBootSpec, kNetworkBoot, reserved("Byte 2:2-7")));
    EXPECT_THAT(
        extension2(0x0F, 1, 9),
        ElementsAre(kByte2, kBootSpec, kNetworkBoot, reserved("Byte 2:2-7")));
    for (const uint8_t minor : {4, 5, 6})
    {
        EXPECT_THAT(extension2(0x0F, 2, minor),
                    ElementsAre(kByte2, kBootSpec, kNetworkBoot, kTargeted,
                                reserved("Byte 2:3-7")))
            << "2." << int{minor};
    }
    for (const auto& [major, minor] : {std::pair{2, 7}, {3, 0}})
    {
        EXPECT_THAT(extension2(0x0F, major, minor),
                    ElementsAre(kByte2, kBootSpec, kNetworkBoot, kTargeted,
                                kUefi, reserved("Byte 2:5-7")))
            << major << "." << minor;
    }
}

TEST(BiosCharacteristicsExt2, ClearBitsAndBitFourAddOnlyTheSummary)
{
    EXPECT_THAT(extension2(0x10, 3, 2),
                ElementsAre("d:BIOS Characteristics Extension Byte2:16",
                            reserved("Byte 2:5-7")));
}

TEST(BiosCharacteristicsExt2, WithoutALoadedTableBitsTwoUpAreReserved)
{
    // This executable loads no table, so the loader's version reads 0.0.
    EXPECT_THAT(
        decoded(qvmAddBiosCharacteristicsExt2, 0x0FU),
        ElementsAre(kByte2, kBootSpec, kNetworkBoot, reserved("Byte 2:2-7")));
}
