#include "smbios/decode/decoders.hpp"
#include "smbios/decode/field_emit.hpp"
#include "smbios/little_endian.hpp"

namespace qvm::decode
{
namespace
{

// Bits 0 to 31 of the characteristics; bits 32 to 63 belong to the BIOS and
// system vendors and are only summarised.
constexpr BitField kCharacteristics[] = {
    numberBit(0, "Reserved bit"),
    numberBit(1, "Reserved bit"),
    numberBit(2, "Unknown bit"),
    noticeBit(3, "BIOS Characteristics Not Supported"),
    flagBit(4, "ISA is supported"),
    flagBit(5, "MSA is supported"),
    flagBit(6, "EISA is supported"),
    flagBit(7, "PCI is supported"),
    flagBit(8, "PC Card(PCMCIA) is supported"),
    flagBit(9, "Plug and play is supported"),
    flagBit(10, "APM is supported"),
    flagBit(11, "BIOS is Upgradeable(FLASH)"),
    flagBit(12, "BIOS shadowing is allowed"),
    flagBit(13, "VL-VESA is supported"),
    flagBit(14, "ESCD support is available"),
    flagBit(15, "Boot form CD is supported"),
    flagBit(16, "Selectable Boot is supported"),
    flagBit(17, "BIOS ROM is socketed"),
    flagBit(18, "Boot From PC Card(PCMCIA)is supported"),
    flagBit(19, "EDD (Enhanced Disk Driver) Specification is supported"),
    flagBit(20, "Int 13h - Japanese Floppy for NEC 9800 1.2mb (3.5\",1k "
                "Bytes/Sector, 360 RPM) is supported"),
    flagBit(21, "Int 13h - Japanese Floppy for Toshiba 1.2mn (3.5\", 360 "
                "RPM) is supported"),
    flagBit(22, "Int 13h - 5.25\"/360KB Floppy Services are supported"),
    flagBit(23, "Int 13h - 5.25\"/1.2MB Floppy services are supported"),
    flagBit(24, "Int 13h - 3.5\"/720KB Floppy services are supported"),
    flagBit(25, "Int 13h - 3.5\"/2.88MB Floppy services are supported"),
    flagBit(26, "Int 5h, Print screen Services is supported"),
    flagBit(27, "Int 9h, 8042 Keyboard services are supported"),
    flagBit(28, "Int 14h, Serial Services are supported"),
    flagBit(29, "Int 17h, Printer services are supported"),
    flagBit(30, "Int 10h, CGA/Mono Video services are supported"),
    numberBit(31, "NEC PC-98"),
};

constexpr BitField kExtension1[] = {
    flagBit(0, "ACPI supported"),
    flagBit(1, "USB Legacy is supported"),
    flagBit(2, "AGP is supported"),
    flagBit(3, "I2O boot is supported"),
    flagBit(4, "LS-120 boot is supported"),
    flagBit(5, "ATAPI ZIP Drive boot is supported"),
    flagBit(6, "1394 boot is supported"),
    flagBit(7, "Smart battery supported"),
};

constexpr BitField kExtension2[] = {
    flagBit(0, "BIOS Boot Specification supported"),
    flagBit(1, "Function key-initiated Network Service boot supported"),
};

void appendReservedBits(const char* bits, FieldSink& out)
{
    out.text("Bits are reserved for future assignment", bits);
}

} // namespace

void addBiosCharacteristicsExt2(uint32_t value, SmbiosVersion version,
                                FieldSink& out)
{
    appendInteger("BIOS Characteristics Extension Byte2", value, out);
    appendSetBits(kExtension2, value, out);
    // Bit 2 came with 2.4, bit 3 with 2.7; bit 4 is left undecoded.
    if (!version.atLeast(2, 4))
    {
        appendReservedBits("Byte 2:2-7", out);
        return;
    }
    if ((value & 0x04) != 0)
        appendInteger("Enable Targeted Content Distribution", 1, out);
    if (!version.atLeast(2, 7))
    {
        appendReservedBits("Byte 2:3-7", out);
        return;
    }
    if ((value & 0x08) != 0)
        out.flag("UEFI Specification is supported", true);
    appendReservedBits("Byte 2:5-7", out);
}

} // namespace qvm::decode

void qvm::decode::addBiosCharacteristics(const void* field, FieldSink& out)
{
    if (field == nullptr)
        return;
    const uint64_t characteristics = readLe64(field);
    appendInteger("BIOS Characteristics", characteristics, out);
    appendSetBits(kCharacteristics, characteristics & 0xFFFFFFFF, out);
    appendNotice("Bits 32:47 are reserved for BIOS Vendor", out);
    appendNotice("Bits 48:64 are reserved for System Vendor", out);
}

void qvm::decode::addBiosCharacteristicsExt1(uint32_t value, FieldSink& out)
{
    appendInteger("BIOS Characteristics Extension Byte1", value, out);
    appendSetBits(kExtension1, value, out);
}
