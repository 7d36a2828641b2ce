// Loading the table named by the inventory daemon (stand-in on a private
// bus).
#include "qvmclient.h"
#include "support/loaded_table.hpp"
#include "support/standin_bus.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using qvmtest::TempFile;
using testing::ElementsAre;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
namespace standin = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus();

constexpr char kGet[] = "/xyz/openbmc_project/invd/oem:Get";

class InventoryTablePath : public testing::Test
{
  protected:
    void SetUp() override { standin::reset(); }
    void TearDown() override { SmbiosCleanup(); }

    // Serves value (a JSON variant) as the table path.
    static void serve(const std::string& variant)
    {
        standin::script(kGet, R"({"reply": [)" + variant + "]}");
    }

    // SmbiosInit with a null path, with what it wrote to standard error.
    static std::pair<int64_t, std::string> initFromBus()
    {
        CaptureStderr();
        const int64_t status = SmbiosInit(nullptr);
        return {status, GetCapturedStderr()};
    }
};

std::string errnoText(int error)
{
    return std::strerror(error);
}

} // namespace

TEST_F(InventoryTablePath, LoadsTheFileTheDaemonNames)
{
    TableBuilder table;
    table.add(StructureBuilder(0, 24, 0).string(5, "3.1").u8(20, 3).u8(21, 1));
    const TempFile file(table.build());
    serve(R"({"type": "s", "value": ")" + file.path() + R"("})");

    const auto [status, errors] = initFromBus();
    EXPECT_EQ(status, QVM_RC_SUCCESS);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(gSMTableLength, static_cast<int64_t>(table.size()));
    EXPECT_EQ(GetSmbiosMajorVersion(), 3U);
    EXPECT_THAT(standin::calls(kGet),
                ElementsAre(R"(["xyz.openbmc_project.Inventory.Item.Oem",)"
                            R"("FullSMBIOSTablePath"])"));
}

TEST_F(InventoryTablePath, AFileThatCannotBeOpenedOrAValueNotAStringFails)
{
    serve(R"({"type": "s", "value": "/nonexistent/smbios.bin"})");
    auto [status, errors] = initFromBus();
    EXPECT_EQ(status, QVM_RC_NOT_FOUND);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(standin::calls(kGet).size(), 1U);
    serve(R"({"type": "u", "value": 7})");
    std::tie(status, errors) = initFromBus();
    EXPECT_EQ(status, QVM_RC_NOT_FOUND);
    EXPECT_EQ(errors, "opening error : " + errnoText(ENXIO) + "\n");
}

TEST_F(InventoryTablePath, AFailedCallFailsSilentlyAndDropsTheOldTable)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 0));
    const qvmtest::LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    standin::script(kGet, R"({"error": "org.freedesktop.DBus.Error.)"
                          R"(UnknownProperty", "message": "gone"})");
    const auto [status, errors] = initFromBus();
    EXPECT_EQ(status, QVM_RC_FAILED);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(m_SmbiosStruct, nullptr);
}

TEST_F(InventoryTablePath, NoBusIsReportedOnStandardError)
{
    const std::string address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    const auto [status, errors] = initFromBus();
    setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
    EXPECT_EQ(status, QVM_RC_FAILED);
    EXPECT_EQ(errors,
              "Failed to connect to system bus: " + errnoText(ENOENT) + "\n");
    EXPECT_TRUE(standin::calls(kGet).empty());
}
