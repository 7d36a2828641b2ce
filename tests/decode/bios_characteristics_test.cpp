#include "capi/tagged_sink.hpp"
#include "decode/field_capture.hpp"
#include "qvmclient.h"
#include "smbios/decode/decoders.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using qvmtest::decoded;

namespace
{

using Strings = std::vector<std::string>;

const char* const kBiosVendorNotice =
    "s:Notice:Bits 32:47 are reserved for BIOS Vendor";
const char* const kSystemVendorNotice =
    "s:Notice:Bits 48:64 are reserved for System Vendor";

// The characteristics field as it sits in a structure.
Strings characteristics(uint64_t value)
{
    return qvmtest::decodedAtOddAddress(qvmAddBiosCharacteristics, value, 8);
}

Strings extension2(uint32_t value, uint8_t major, uint8_t minor)
{
    qvmtest::FieldCapture capture;
    qvm::capi::TaggedSink sink(*capture.list());
    qvm::decode::addBiosCharacteristicsExt2(value, {major, minor}, sink);
    return capture.strings();
}

} // namespace

TEST(BiosCharacteristics, ValueNoticesAndTheNotSupportedBit)
{
    // Vendor bits are summarised only; the whole field is shown as a signed
    // number; the not-supported bit hides none of the others.
    qvmtest::expectDecoded({
        {characteristics(0),
         {"d:BIOS Characteristics:0", kBiosVendorNotice, kSystemVendorNotice}},
        {characteristics(0x0102030400000000),
         {"d:BIOS Characteristics:72623859706101760", kBiosVendorNotice,
          kSystemVendorNotice}},
        {characteristics(0xFFFFFFFF80000000),
         {"d:BIOS Characteristics:-2147483648", "d:NEC PC-98:31",
          kBiosVendorNotice, kSystemVendorNotice}},
        {characteristics(0x08),
         {"d:BIOS Characteristics:8",
          "s:Notice:BIOS Characteristics Not Supported", kBiosVendorNotice,
          kSystemVendorNotice}},
        {characteristics(0x1F),
         {"d:BIOS Characteristics:31", "d:Reserved bit:0", "d:Reserved bit:1",
          "d:Unknown bit:2", "s:Notice:BIOS Characteristics Not Supported",
          "s:ISA is supported:True", kBiosVendorNotice, kSystemVendorNotice}},
    });
}

TEST(BiosCharacteristicsExt1, FirstAndLastBit)
{
    qvmtest::expectDecoded({
        {decoded(qvmAddBiosCharacteristicsExt1, 0x81U),
         {"d:BIOS Characteristics Extension Byte1:129", "s:ACPI supported:True",
          "s:Smart battery supported:True"}},
        {decoded(qvmAddBiosCharacteristicsExt1, 0U),
         {"d:BIOS Characteristics Extension Byte1:0"}},
    });
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
    const Strings upTo23 = {kByte2, kBootSpec, kNetworkBoot,
                            reserved("Byte 2:2-7")};
    const Strings upTo26 = {kByte2, kBootSpec, kNetworkBoot, kTargeted,
                            reserved("Byte 2:3-7")};
    const Strings from27 = {kByte2,    kBootSpec, kNetworkBoot,
                            kTargeted, kUefi,     reserved("Byte 2:5-7")};
    qvmtest::expectDecoded({
        {extension2(0x0F, 1, 9), upTo23},
        {extension2(0x0F, 2, 3), upTo23},
        {extension2(0x0F, 2, 4), upTo26},
        {extension2(0x0F, 2, 6), upTo26},
        {extension2(0x0F, 2, 7), from27},
        {extension2(0x0F, 3, 0), from27},
        // Clear bits and bit four add only the summary.
        {extension2(0x10, 3, 2),
         {"d:BIOS Characteristics Extension Byte2:16", reserved("Byte 2:5-7")}},
        // This executable loads no table, so the loader's version reads 0.0.
        {decoded(qvmAddBiosCharacteristicsExt2, 0x0FU), upTo23},
    });
}
