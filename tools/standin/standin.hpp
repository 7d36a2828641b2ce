// A scriptable D-Bus service that stands in for the BMC's platform services.
//
// Every service is a set of endpoints (destination, path, interface, member,
// argument and reply signatures, default reply). Calls are recorded as JSON
// and answered from a script when one is set for them, else from the
// endpoint's default. The control interface on the same bus lets tests and
// people script replies, read what was received and emit signals.
//
// Every object answers Introspect with what it serves: the methods of its
// endpoints, the signals and properties declared for it, and its child
// nodes, so that generic D-Bus tools can explore the stand-in.
#pragma once

#include "common/handles.hpp"
#include "introspection.hpp"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace standin
{

inline constexpr char kControlService[] = "net.qvmclient.Standin";
inline constexpr char kControlPath[] = "/net/qvmclient/Standin";
inline constexpr char kControlInterface[] = "net.qvmclient.Standin.Control";

class Standin;

// Computes a reply in place of the scripted one; returns a negative errno or
// sends the reply itself (sd_bus_reply_*) and returns 1.
using Handler = std::function<int(Standin&, sd_bus_message* call)>;

// An endpoint without a path is served on every object declared for its
// service (see declare).
struct Endpoint
{
    std::string service; // destination name; empty: any
    std::string path;    // object path; empty: any
    std::string interface;
    std::string member;
    std::string argSignature; // other signatures are refused (InvalidArgs)
    std::string replySignature;
    std::string defaultReply; // JSON array of the reply's values
    Handler handler;          // optional computed reply
};

class Standin
{
  public:
    explicit Standin(sd_bus* bus);

    void addEndpoint(Endpoint endpoint);
    // Declares an interface of service's object at path for introspection;
    // fill in its signals and properties. Methods come from the endpoints.
    InterfaceDescription& declare(const std::string& service,
                                  const std::string& path,
                                  const std::string& interface);
    // What the object at path of service serves, with its child nodes.
    ObjectDescription describe(const std::string& service,
                               const std::string& path) const;
    // Requests every endpoint's service name and the control name.
    int requestNames();

    // A script is a JSON object: {"reply": [...], "signature": "..."} to
    // answer with other values or another signature, or
    // {"error": "name", "message": "text"} to answer with an error, or
    // {"hang": true} to leave the call unanswered. Keys are
    // "PATH:MEMBER" or "MEMBER" (looked up in that order).
    void script(const std::string& key, const std::string& json);
    std::vector<std::string> calls(const std::string& key) const;
    void reset();
    int emitPropertiesChanged(const std::string& path,
                              const std::string& interface,
                              const std::string& changedJson);

    // The scripted reply for this call, if any (parsed JSON object).
    qvm::JsonPtr scriptFor(sd_bus_message* call) const;

    sd_bus* bus() const noexcept { return bus_; }

  private:
    static int onMessage(sd_bus_message* m, void* userdata,
                         sd_bus_error* error);
    int dispatch(sd_bus_message* m, sd_bus_error* error);
    void addControl();
    const Endpoint* find(sd_bus_message* m) const;
    void record(sd_bus_message* m);
    int reply(const Endpoint& endpoint, sd_bus_message* m, sd_bus_error* error);

    sd_bus* bus_;
    qvm::SlotPtr slot_;
    std::vector<Endpoint> endpoints_;
    // (service, path) -> interface -> what it declares
    std::map<std::pair<std::string, std::string>,
             std::map<std::string, InterfaceDescription>>
        declared_;
    std::map<std::string, std::string> scripts_;
    std::map<std::string, std::vector<std::string>> calls_;
};

// Sends a reply built from a JSON array of values with signature.
int replyWithJson(sd_bus_message* call, const std::string& signature,
                  json_object* values);

} // namespace standin
