#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::decoded;

namespace
{

const char* const kPciLabel =
    "Value present in the Slot Number field of the PCI Interrupt Routing "
    "table entry associated with this slot";

// The last field of a slot-ID decoding: what the ID means for the type.
std::string slotIdMeaning(uint32_t slotId, uint32_t slotType)
{
    const auto strings = decoded(qvmAddSystemSlotId, slotId, slotType);
    return strings.empty() ? std::string() : strings.back();
}

std::string bootStatus(uint32_t value)
{
    const auto strings = decoded(qvmAddSystemBootStatus, value);
    EXPECT_EQ(strings.size(), 2U);
    EXPECT_EQ(strings.front(), "d:System Boot Status:" + std::to_string(value));
    return strings.back();
}

} // namespace

TEST(SystemSlotId, MeaningOfTheIdForEachSlotType)
{
    // MCA and EISA number their slots one to fifteen.
    const std::string error = ":error, not 1-15.";
    EXPECT_EQ(slotIdMeaning(0, 5), "s:Logical EISA slot number" + error);
    EXPECT_EQ(slotIdMeaning(16, 5), "s:Logical EISA slot number" + error);
    EXPECT_EQ(slotIdMeaning(1, 4), "d:Logical Micro Channel slot number:1");
    EXPECT_EQ(slotIdMeaning(0x100, 4),
              "s:Logical Micro Channel slot number" + error);
    for (const uint32_t pci : {6U, 14U, 18U, 165U, 0xB6U})
        EXPECT_EQ(slotIdMeaning(3, pci), std::string("d:") + kPciLabel + ":3")
            << pci;
    for (const uint32_t other : {13U, 0x13U, 164U, 0xB7U, 0x1B6U})
        EXPECT_EQ(slotIdMeaning(3, other), "d:undefined Slot Id:3") << other;
    EXPECT_EQ(slotIdMeaning(2, 7), "d:Identifies Adapter Number:2");
}

TEST(SystemBootStatus, CodesAndRanges)
{
    EXPECT_EQ(bootStatus(0), "s:Boot Status:No errors detected");
    EXPECT_EQ(bootStatus(8),
              "s:Boot Status:System watchdog timer expired, causing the "
              "system to reboot.");
    const std::string reserved =
        "s:Boot Status:Reserved for future assignment via this "
        "specification. ";
    EXPECT_EQ(bootStatus(9), reserved);
    EXPECT_EQ(bootStatus(127), reserved);
    const std::string vendor =
        "s:Boot Status:Vendor/OEM-specific implementations. The Vendor/OEM "
        "identifier is the Manufacturer string in the System Identification "
        "structure.";
    EXPECT_EQ(bootStatus(0x80), vendor);
    EXPECT_EQ(bootStatus(0xBF), vendor);
    EXPECT_EQ(bootStatus(0xC0),
              "s:Boot Status:Product-specific implementations. The product "
              "identifier is the concatenation of the Manufacturer and "
              "Product Name strings in the System Information structure.");
}

TEST(SystemDecoders, DatesResetSecurityConnectionsAndPower)
{
    const auto supply = [](uint16_t word)
    { return qvmtest::decodedAtOddAddress(qvmAddSPSCharacteristics, word, 2); };
    qvmtest::expectDecoded({
        // Month, day and year from the packed word.
        {decoded(qvmAddSBDSManufactureDate, 0x4E6FU),
         {"d:SBDS Manufacture Date:20079", "s:Manufacture Date:03/15/2019"}},
        {decoded(qvmAddSBDSManufactureDate, 0xFFFFU),
         {"d:SBDS Manufacture Date:65535", "s:Manufacture Date:15/31/2107"}},
        {decoded(qvmAddSBDSManufactureDate, 0U),
         {"d:SBDS Manufacture Date:0", "s:Manufacture Date:00/00/1980"}},
        {decoded(qvmAddSystemResetCapabilities, 0x48U),
         {"d:System Reset Capabilities:72",
          "s:System Reset Capabilities:Bits 7:6 are reserved bits, must be "
          "zero",
          "s:System contains a watchdog timer:False",
          "s:Boot Option on Limit:Operating system", "s:Boot Option:Reserved",
          "s:System Reset:Disabled by the user"}},
        // Four two-bit states, highest first.
        {decoded(qvmAddHardwareSecuritySettings, 0x9CU),
         {"d:Hardware Security Settings:156",
          "s:Power-on Password Status:Not Implemented",
          "s:Keyboard Password Status:Enabled",
          "s:Administrator Password Status:Unknown",
          "s:Front Panel Reset Status:Disabled"}},
        {decoded(qvmAddOBRAConnections, 0x04U),
         {"d:Connections:4",
          "s:Connections:Bits 7:2 are reserved bits, must be zero",
          "s:Connections:Outbound Connection Disabled",
          "s:Connections:Inbound Connection Disabled"}},
        // A power supply word of unassigned codes and reserved bits (the
        // sample's export pins an ordinary one).
        {supply(0xE307),
         {"d:Power Supply Characteristics:58119",
          "s:Power Supply Characteristics:Bits 15:14 are reserved bits, must "
          "be zero",
          "s:Type:Reserved ", "s:Status:Undefined ",
          "s:Input Voltage Range Switching:Reserved",
          "s:Power supply is unplugged from the wall:True",
          "s:Power supply is present:True",
          "s:Power supply is hot replaceable:True"}},
        // The bits of the low half, then the reserved notice.
        {decoded(qvmAddTpmDeviceCharacteristics, 0x3CU, 0U),
         {"d:TPM Device Characteristics:60",
          "s:TPM Device Characteristics:TPM Device Characteristics Not "
          "Supported",
          "s:Family configurable via firmware update:True",
          "s:Family configurable via platform software support:True",
          "s:Family configurable via OEM proprietary mechanism:True",
          "s:TPM Device Characteristics:Bits 6:63 are reserved"}},
        {decoded(qvmAddTpmDeviceCharacteristics, 0xFFFFFFC3U, 1U),
         {"d:TPM Device Characteristics:8589934531", "d:Reserved bit:0",
          "d:Reserved bit:1",
          "s:TPM Device Characteristics:Bits 6:63 are reserved"}},
    });
    EXPECT_EQ(supply(0x2000).at(1), "s:Type:Reserved ");
}
