// Replays init_bus.transcript: loading the table that the inventory daemon
// (the stand-in on a private bus) names. A call line is one of
//     reply JSON      the daemon's answer to Get, as the stand-in scripts it
//     load            SmbiosInit of @TABLE, a file of a small 3.1 table
//     init [nobus]    SmbiosInit with a null path, without a system bus if
//                     told
// and under init come its status, what it wrote to standard error, the
// table it left loaded and the Get calls the daemon received for it.
#include "qvmclient.h"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "support/scoped_env.hpp"
#include "support/standin_bus.hpp"

#include <gtest/gtest.h>
#include <optional>

namespace
{

namespace standin = qvmtest::standin;
using Results = std::vector<std::string>;

const auto* bus = qvmtest::useStandinBus();

constexpr char kGet[] = "/xyz/openbmc_project/invd/oem:Get";

// The daemon's script and calls are forgotten after each load.
Results init(bool noBus)
{
    int64_t status = 0;
    {
        std::optional<qvmtest::ScopedEnv> env;
        if (noBus)
            env.emplace("DBUS_SYSTEM_BUS_ADDRESS",
                        "unix:path=/nonexistent/bus");
        testing::internal::CaptureStderr();
        status = SmbiosInit(nullptr);
    }
    Results out{"rc " + std::to_string(status)};
    for (const auto& line : qvmtest::transcript::splitLines(
             testing::internal::GetCapturedStderr()))
        out.push_back("! " + line);
    out.push_back(m_SmbiosStruct == nullptr
                      ? "no table"
                      : "table of " + std::to_string(gSMTableLength) +
                            " bytes, version " +
                            std::to_string(GetSmbiosMajorVersion()));
    for (const auto& call : standin::calls(kGet))
        out.push_back("sent " + call);
    standin::reset();
    return out;
}

Results replay(const std::string& line, const std::string& table)
{
    const std::string op = line.substr(0, line.find(' '));
    if (op == "init")
        return init(line == "init nobus");
    if (op == "load")
        return {"rc " + std::to_string(SmbiosInit(table.c_str()))};
    standin::script(kGet, qvmtest::transcript::replaced(
                              line.substr(op.size() + 1), "@TABLE", table));
    return {};
}

} // namespace

TEST(InventoryTablePath, EveryLoadGivesWhatItsTranscriptSays)
{
    const qvmtest::TempFile table(qvmtest::TableBuilder()
                                      .add(qvmtest::StructureBuilder(0, 24, 0)
                                               .string(5, "3.1")
                                               .u8(20, 3)
                                               .u8(21, 1))
                                      .build());
    qvmtest::expectTranscript(QVM_INIT_BUS_TRANSCRIPT,
                              [&](const std::string& line)
                              { return replay(line, table.path()); });
    SmbiosCleanup();
}
