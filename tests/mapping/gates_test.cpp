// Every version and length gate of the mappings, just below and at its
// limit. The sample table's export (version 3.2, whole structures) pins
// what each field holds once its gate is open; here only whether it shows
// matters, so most structures are zeros of the length under test.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>

using namespace qvmtest;

namespace
{

StructureBuilder zeros(std::uint8_t type, std::uint8_t length)
{
    return StructureBuilder(type, length, type << 8);
}

// A chassis whose SKU string follows count contained elements of 3 bytes.
StructureBuilder chassisSku(std::uint8_t length, std::uint8_t count)
{
    return zeros(3, length).u8(19, count).u8(20, 3).string(21 + 3 * count,
                                                           "SKU-C");
}

// A processor whose family byte asks for the family word.
StructureBuilder wordFamily()
{
    return zeros(4, 48).u8(6, 0xFE).u16(40, 0x0101);
}

} // namespace

TEST(MappingGates, EveryGateJustBelowAndAtItsLimit)
{
    // Keys of rows that share a gate: each row holds its own copy of the
    // gate, so each is probed.
    const std::string releases =
        "SystemBiosMajorRelease,SystemBiosMinorRelease,"
        "EmbeddedControllerFirmwareMajorRelease,"
        "EmbeddedControllerFirmwareMinorRelease";
    const std::string serials = "SerialNumber,AssetTag,PartNumber";
    const std::string counts = "CoreCount,EnabledCoreCount,ThreadCount,"
                               "Processor Characteristics";
    const std::string counts2 = "CoreCount2,EnabledCoreCount2,ThreadCount2";
    const std::string busAddress = "SegmentGroupNum,BusNum,DevFuncNum";
    const std::string voltages =
        "MinimumVoltage,MaximumVoltage,ConfiguredVoltage";
    const std::string extended =
        "ExtendedStartingAddress,ExtendedEndingAddress";
    expectProbes({
        // BIOS: each extension byte needs the length to reach it; the
        // release bytes need 2.4 and a length above 20; the extended size
        // 3.1 and a length above 24.
        {zeros(0, 18), v(2, 3), "!BIOS Characteristics Extension Byte1"},
        {zeros(0, 19), v(2, 3), "+BIOS Characteristics Extension Byte1"},
        {zeros(0, 19), v(2, 3), "!BIOS Characteristics Extension Byte2"},
        {zeros(0, 20), v(2, 3), "+BIOS Characteristics Extension Byte2"},
        {zeros(0, 24), v(2, 3), "!" + releases},
        {zeros(0, 20), v(2, 4), "!" + releases},
        {zeros(0, 21), v(2, 4), "+" + releases},
        {zeros(0, 26), v(3, 0), "!ExtendedBiosSize"},
        {zeros(0, 24), v(3, 1), "!ExtendedBiosSize"},
        // At length 25, byte 25 is the first string byte, 'V' (0x56): 22
        // units of 256 and the gigabyte bit.
        {zeros(0, 25).u8(24, 1).string(4, "Vendor"), v(3, 1),
         "s:ExtendedBiosSize:5633 GB"},
        {zeros(0, 26).u8(24, 0x10), v(3, 2), "s:ExtendedBiosSize:16 MB"},
        {zeros(0, 26).u8(24, 2).u8(25, 0x40), v(3, 2),
         "s:ExtendedBiosSize:2 GB"},
        {zeros(0, 26).u8(24, 0xFF).u8(25, 0xBF), v(3, 2),
         "s:ExtendedBiosSize:16383 GB"},
        // System SKU and family: 2.4 and a length above 25.
        {zeros(1, 27), v(2, 3), "!SKUNumber,Family"},
        {zeros(1, 25), v(2, 4), "!SKUNumber,Family"},
        {zeros(1, 26), v(2, 4), "+SKUNumber,Family"},
        // A length-8 board stops after its serial number.
        {zeros(2, 8), v(3, 2), "+SerialNumber"},
        {zeros(2, 8), v(3, 2), "!AssetTag"},
        // Chassis fields by version and length.
        {zeros(3, 13), v(2, 8), "!OemDefined"},
        {zeros(3, 14), v(2, 2), "!OemDefined"},
        {zeros(3, 14), v(2, 3), "+OemDefined"},
        {zeros(3, 17), v(2, 3), "!Height"},
        {zeros(3, 18), v(2, 3), "+Height"},
        {zeros(3, 18), v(2, 3), "!NumberofPowerCords"},
        {zeros(3, 19), v(2, 3), "+NumberofPowerCords"},
        // The chassis SKU needs 2.7 and a length that reaches past the
        // contained elements: two of them put it at offset 27.
        {chassisSku(0x16, 0), v(2, 6), "!SKUNumber"},
        {chassisSku(0x16, 0), v(2, 7), "s:SKUNumber:SKU-C"},
        {chassisSku(0x1C, 2), v(2, 7), "s:SKUNumber:SKU-C"},
        {zeros(3, 0x1B).u8(19, 2).u8(20, 3), v(2, 7), "!SKUNumber"},
        // Processor: serial numbers 2.3 and above 32; counts and the
        // characteristics 2.5 and above 35; 16-bit counts 3.0 and above 42.
        {zeros(4, 32), v(3, 2), "!" + serials},
        {zeros(4, 48), v(2, 2), "!" + serials},
        {zeros(4, 33), v(2, 3), "+" + serials},
        {zeros(4, 35), v(3, 2), "!" + counts},
        {zeros(4, 48), v(2, 4), "!" + counts},
        {zeros(4, 36), v(2, 5), "+" + counts},
        {zeros(4, 42), v(3, 2), "!" + counts2},
        {zeros(4, 48), v(2, 9), "!" + counts2},
        {zeros(4, 43), v(3, 0), "+" + counts2},
        // The family word needs 2.6, a length above 40 and the byte 0xFE.
        {wordFamily(), v(2, 6), "d:Processor Family :257"},
        {wordFamily(), v(2, 5), "d:Processor Family :254"},
        {shortened(wordFamily(), 40), v(2, 6), "d:Processor Family :254"},
        {wordFamily().u8(6, 2), v(3, 2), "d:Processor Family :2"},
        // Cache 32-bit sizes: 3.1 and a length above 19.
        {zeros(7, 0x1B), v(3, 0), "!MaximumCacheSize2,InstalledSize2"},
        {zeros(7, 19), v(3, 1), "!MaximumCacheSize2,InstalledSize2"},
        {zeros(7, 20), v(3, 1), "+MaximumCacheSize2,InstalledSize2"},
        // Slot bus address: 2.6 and a length above 13.
        {zeros(9, 0x11), v(2, 5), "!" + busAddress},
        {zeros(9, 13), v(2, 6), "!" + busAddress},
        {zeros(9, 14), v(2, 6), "+" + busAddress},
        // The language dump is there whatever the length.
        {zeros(13, 4), v(3, 0), "s:Reserved:Dump: size= 15"},
        // Memory array: 2.7 and a length above 15.
        {zeros(16, 15), v(3, 2), "!ExtendedMaximumCapacity"},
        {zeros(16, 0x17), v(2, 6), "!ExtendedMaximumCapacity"},
        {zeros(16, 16), v(2, 7), "+ExtendedMaximumCapacity"},
        // Memory device: attributes from 2.6, sizes and clock from 2.7,
        // voltages from 2.8, each also needing the length.
        {zeros(17, 0x28), v(2, 5), "!Attributes"},
        {zeros(17, 27), v(2, 6), "!Attributes"},
        {zeros(17, 28), v(2, 6), "+Attributes"},
        {zeros(17, 0x28), v(2, 6), "!ExtendedSize,ConfiguredMemoryClockSpeed"},
        {zeros(17, 28), v(2, 7), "!ExtendedSize,ConfiguredMemoryClockSpeed"},
        {zeros(17, 29), v(2, 7), "+ExtendedSize,ConfiguredMemoryClockSpeed"},
        {zeros(17, 0x28), v(2, 7), "!" + voltages},
        {zeros(17, 34), v(2, 8), "!" + voltages},
        {zeros(17, 35), v(2, 8), "+" + voltages},
        // Both extended addresses of types 19 and 20 under one gate each.
        {zeros(19, 15), v(3, 2), "!" + extended},
        {zeros(19, 0x1F), v(2, 6), "!" + extended},
        {zeros(19, 16), v(2, 7), "+" + extended},
        {zeros(20, 19), v(3, 2), "!" + extended},
        {zeros(20, 0x23), v(2, 6), "!" + extended},
        {zeros(20, 20), v(2, 7), "+" + extended},
        // Cooling device description: 2.7 and a length above 14.
        {zeros(27, 0x0F), v(2, 6), "!Description"},
        {zeros(27, 14), v(2, 7), "!Description"},
        {zeros(27, 0x0F), v(2, 7), "+Description"},
        // Without its string the firmware version is left out, not empty.
        {zeros(226, 13), v(3, 2), "!Firmware Version"},
        {zeros(226, 13).u8(6, 2).string("x"), v(3, 2), "!Firmware Version"},
        {zeros(226, 13).string(6, "2.1"), v(3, 2), "s:Firmware Version:2.1"},
    });
}
