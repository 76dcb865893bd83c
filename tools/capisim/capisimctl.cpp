// capisimctl: drives the line simulator from a command line (scripts, the demo, humans).
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "CapiSimClient.h"

namespace {

const char kUsage[] =
    "usage: capisimctl [--pipe NAME] [--timeout MS] COMMAND [options]\n"
    "  ping                                  wait until the simulator answers\n"
    "  ring --plci N [--cip N] [--called DIGITS] [--called-type N]\n"
    "       [--calling DIGITS] [--calling-type N] [--presentation N]\n"
    "       [--called-raw HEX] [--calling-raw HEX] [--called-sub HEX] [--calling-sub HEX]\n"
    "       [--appl N]                       offer a CONNECT_IND\n"
    "  hangup --plci N [--reason N] [--appl N]   offer a DISCONNECT_IND\n"
    "  raw HEX [--appl N]                    offer a message exactly as given\n"
    "  controllers [N]                       set (or show) the controller count\n"
    "  log                                   print the event log\n"
    "  clear                                 empty the event log\n"
    "  wait-put [--command N] [--subcommand N] [--count N] [--timeout MS]\n"
    "                                        wait until the application put such a message\n"
    "Numbers are decimal or 0x-hexadecimal; HEX is a string of octets like 0C00.\n";

int Fail(const std::string& why) {
    std::fprintf(stderr, "capisimctl: %s\n", why.c_str());
    return 1;
}

bool ParseNumber(const std::string& s, unsigned long max, unsigned long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str(), &end, 0);
    if (*end != '\0' || s[0] == '-' || v > max) return false;
    out = v;
    return true;
}

struct Args {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};

bool ParseArgs(int argc, char** argv, Args& args, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--", 0) == 0) {
            if (i + 1 >= argc) {
                error = "option " + a + " needs a value";
                return false;
            }
            args.options[a.substr(2)] = argv[++i];
        } else if (args.command.empty()) {
            args.command = a;
        } else {
            args.positional.push_back(a);
        }
    }
    if (args.command.empty()) {
        error = "no command given";
        return false;
    }
    return true;
}

class Options {
  public:
    explicit Options(Args& a) : a_(a) {}
    bool Number(const char* name, unsigned long max, unsigned long& out, std::string& error) {
        auto it = a_.options.find(name);
        if (it == a_.options.end()) return true;  // keep the default in out
        used_.push_back(name);
        if (!ParseNumber(it->second, max, out)) {
            error = std::string("bad value for --") + name + ": " + it->second;
            return false;
        }
        return true;
    }
    bool Text(const char* name, std::string& out) {
        auto it = a_.options.find(name);
        if (it == a_.options.end()) return false;
        used_.push_back(name);
        out = it->second;
        return true;
    }
    bool Hex(const char* name, capisim::Bytes& out, std::string& error) {
        std::string text;
        if (!Text(name, text)) return true;
        if (!capisim::FromHex(text, out)) {
            error = std::string("bad hex for --") + name + ": " + text;
            return false;
        }
        return true;
    }
    // Every option given must have been understood by the command.
    bool AllUsed(std::string& error) const {
        for (const auto& [name, value] : a_.options) {
            bool used = name == "pipe" || name == "timeout";
            for (const auto& u : used_) used = used || u == name;
            if (!used) {
                error = "unknown option --" + name;
                return false;
            }
        }
        return true;
    }

  private:
    Args& a_;
    std::vector<std::string> used_;
};

int Run(int argc, char** argv) {
    Args args;
    std::string error;
    if (argc < 2 || !ParseArgs(argc, argv, args, error)) {
        if (!error.empty()) std::fprintf(stderr, "capisimctl: %s\n", error.c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    Options opt(args);
    std::string pipe = capisim::DefaultPipeName();
    opt.Text("pipe", pipe);
    unsigned long timeout = 10000;
    if (!opt.Number("timeout", 3600000, timeout, error)) return Fail(error);
    capisim::Client client(pipe);
    unsigned long appl = 0;
    if (!opt.Number("appl", 0xFFFF, appl, error)) return Fail(error);

    const std::string& cmd = args.command;
    bool ok = false;
    if (cmd == "ping") {
        if (!opt.AllUsed(error)) return Fail(error);
        ok = client.Connect(static_cast<unsigned>(timeout));
    } else if (cmd == "ring") {
        unsigned long plci = 0x101, cip = 1, calledType = 0x81, callingType = 0x01,
                      presentation = 0x80;
        std::string called, calling;
        capisim::Bytes calledRaw, callingRaw, calledSub{0}, callingSub{0};
        const bool haveCalled = opt.Text("called", called);
        const bool haveCalling = opt.Text("calling", calling);
        if (!opt.Number("plci", 0xFFFFFFFF, plci, error) ||
            !opt.Number("cip", 0xFFFF, cip, error) ||
            !opt.Number("called-type", 0xFF, calledType, error) ||
            !opt.Number("calling-type", 0xFF, callingType, error) ||
            !opt.Number("presentation", 0xFF, presentation, error) ||
            !opt.Hex("called-raw", calledRaw, error) ||
            !opt.Hex("calling-raw", callingRaw, error) ||
            !opt.Hex("called-sub", calledSub, error) ||
            !opt.Hex("calling-sub", callingSub, error) || !opt.AllUsed(error)) {
            return Fail(error);
        }
        capisim::Bytes calledStruct = capisim::EmptyStruct();
        capisim::Bytes callingStruct = capisim::EmptyStruct();
        if (haveCalled)
            calledStruct = capisim::NumberStruct(static_cast<std::uint8_t>(calledType), called);
        if (haveCalling) {
            callingStruct =
                capisim::CallingNumberStruct(static_cast<std::uint8_t>(callingType),
                                             static_cast<std::uint8_t>(presentation), calling);
        }
        if (args.options.count("called-raw")) calledStruct = calledRaw;
        if (args.options.count("calling-raw")) callingStruct = callingRaw;
        ok = client.Connect(static_cast<unsigned>(timeout)) &&
             client.OfferConnectInd(static_cast<std::uint32_t>(plci),
                                    static_cast<std::uint16_t>(cip), calledStruct, callingStruct,
                                    calledSub, callingSub, static_cast<std::uint16_t>(appl));
    } else if (cmd == "hangup") {
        unsigned long plci = 0x101, reason = 0x3490;
        if (!opt.Number("plci", 0xFFFFFFFF, plci, error) ||
            !opt.Number("reason", 0xFFFF, reason, error) || !opt.AllUsed(error)) {
            return Fail(error);
        }
        ok = client.Connect(static_cast<unsigned>(timeout)) &&
             client.OfferDisconnectInd(static_cast<std::uint32_t>(plci),
                                       static_cast<std::uint16_t>(reason),
                                       static_cast<std::uint16_t>(appl));
    } else if (cmd == "raw") {
        capisim::Bytes bytes;
        if (args.positional.size() != 1 || !capisim::FromHex(args.positional[0], bytes) ||
            bytes.empty()) {
            return Fail("raw needs one string of hex octets");
        }
        if (!opt.AllUsed(error)) return Fail(error);
        ok = client.Connect(static_cast<unsigned>(timeout)) &&
             client.OfferRaw(bytes, static_cast<std::uint16_t>(appl));
    } else if (cmd == "controllers") {
        if (!opt.AllUsed(error)) return Fail(error);
        std::vector<std::string> lines;
        if (args.positional.empty()) {
            ok = client.Connect(static_cast<unsigned>(timeout)) &&
                 client.Request("CONTROLLERS", lines);
            for (const auto& l : lines) std::printf("%s\n", l.c_str());
        } else {
            unsigned long n = 0;
            if (args.positional.size() != 1 || !ParseNumber(args.positional[0], 127, n)) {
                return Fail("controllers needs a count from 0 to 127");
            }
            ok = client.Connect(static_cast<unsigned>(timeout)) &&
                 client.SetControllers(static_cast<unsigned>(n));
        }
    } else if (cmd == "log") {
        if (!opt.AllUsed(error)) return Fail(error);
        std::vector<std::string> lines;
        ok = client.Connect(static_cast<unsigned>(timeout)) && client.Request("LOG", lines);
        for (const auto& l : lines) std::printf("%s\n", l.c_str());
    } else if (cmd == "clear") {
        if (!opt.AllUsed(error)) return Fail(error);
        ok = client.Connect(static_cast<unsigned>(timeout)) && client.ClearLog();
    } else if (cmd == "wait-put") {
        unsigned long command = 0x100, subcommand = 0x100, count = 0;
        if (!opt.Number("command", 0xFF, command, error) ||
            !opt.Number("subcommand", 0xFF, subcommand, error) ||
            !opt.Number("count", 1000000, count, error) || !opt.AllUsed(error)) {
            return Fail(error);
        }
        if (!client.Connect(static_cast<unsigned>(timeout))) return Fail(client.LastError());
        if (count > 0) {
            ok = client.WaitForPut(static_cast<std::size_t>(count), static_cast<unsigned>(timeout));
        } else {
            ok = client.WaitForPut(
                [&](const capisim::Bytes& m) {
                    return (command > 0xFF || capisim::Command(m) == command) &&
                           (subcommand > 0xFF || capisim::Subcommand(m) == subcommand);
                },
                static_cast<unsigned>(timeout));
        }
    } else {
        std::fprintf(stderr, "capisimctl: unknown command %s\n", cmd.c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!ok) return Fail(client.LastError());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(argc, argv);
}
