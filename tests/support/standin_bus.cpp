#include "standin_bus.hpp"

#include "common/handles.hpp"

#include <cstdlib>

namespace qvmtest
{

const char* standinProgram()
{
    return QVM_STANDIN_PATH;
}

void StandinBus::SetUp()
{
    ASSERT_TRUE(process_.start(standinProgram(), fixture_))
        << "stand-in did not start";
    setenv("DBUS_STARTER_BUS_TYPE", "system", 1);
    setenv("DBUS_SYSTEM_BUS_ADDRESS", process_.address().c_str(), 1);
}

void StandinBus::TearDown()
{
    process_.stop();
}

StandinBus* useStandinBus(const std::string& fixture)
{
    static auto* environment = static_cast<StandinBus*>(
        testing::AddGlobalTestEnvironment(new StandinBus(fixture)));
    return environment;
}

namespace standin
{
namespace
{

constexpr char kService[] = "net.qvmclient.Standin";
constexpr char kPath[] = "/net/qvmclient/Standin";
constexpr char kInterface[] = "net.qvmclient.Standin.Control";

template <typename... Args>
qvm::MessagePtr control(const char* member, const char* signature, Args... args)
{
    sd_bus* raw = nullptr;
    EXPECT_GE(sd_bus_open_system(&raw), 0);
    const qvm::BusPtr bus(raw);
    qvm::BusError error;
    sd_bus_message* reply = nullptr;
    const int r =
        sd_bus_call_method(bus.get(), kService, kPath, kInterface, member,
                           error.get(), &reply, signature, args...);
    EXPECT_GE(r, 0) << member << ": " << error.message();
    return qvm::MessagePtr(reply);
}

} // namespace

void script(const std::string& key, const std::string& json)
{
    control("Script", "ss", key.c_str(), json.c_str());
}

std::vector<std::string> calls(const std::string& key)
{
    const qvm::MessagePtr reply = control("Calls", "s", key.c_str());
    std::vector<std::string> out;
    if (!reply || sd_bus_message_enter_container(reply.get(), 'a', "s") < 0)
        return out;
    const char* entry = nullptr;
    while (sd_bus_message_read(reply.get(), "s", &entry) > 0)
        out.emplace_back(entry);
    return out;
}

void reset()
{
    control("Reset", nullptr);
}

void emit(const std::string& path, const std::string& interface,
          const std::string& changedJson)
{
    control("Emit", "sss", path.c_str(), interface.c_str(),
            changedJson.c_str());
}

} // namespace standin
} // namespace qvmtest
