// A session manager of the tests' own for one client, over the X session protocol.
// It prints "SESSION_MANAGER=<address>" and then what the client does ("registered",
// "done 1|0", "closed"); it reads commands, one a line, from its input: "checkpoint" asks the
// client to save its state and go on, "logout" asks it to save for the session's end and,
// once it has answered, tells it to end. It gives up after a minute.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SmsConn client = nullptr;
bool loggingOut = false;
bool closed = false;

Status registerClient(SmsConn conn, SmPointer, char *previousId)
{
    std::free(previousId);
    char *id = SmsGenerateClientID(conn);
    const Status ok = SmsRegisterClientReply(conn, id);
    std::free(id);
    std::puts("registered");
    return ok;
}

void saveYourselfDone(SmsConn conn, SmPointer, Bool success)
{
    std::printf("done %d\n", success ? 1 : 0);
    if (loggingOut)
        SmsDie(conn);
}

void closeConnection(SmsConn, SmPointer, int count, char **reasons)
{
    SmFreeReasons(count, reasons);
    closed = true;
}

void setProperties(SmsConn, SmPointer, int count, SmProp **props)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}

void deleteProperties(SmsConn, SmPointer, int count, char **names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

Status newClient(SmsConn conn, SmPointer, unsigned long *mask, SmsCallbacks *cb, char **)
{
    client = conn;
    *cb = {};
    cb->register_client.callback = registerClient;
    cb->interact_request.callback = [](SmsConn c, SmPointer, int) { SmsInteract(c); };
    cb->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    cb->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
    cb->save_yourself_phase2_request.callback
        = [](SmsConn c, SmPointer) { SmsSaveYourselfPhase2(c); };
    cb->save_yourself_done.callback = saveYourselfDone;
    cb->close_connection.callback = closeConnection;
    cb->set_properties.callback = setProperties;
    cb->delete_properties.callback = deleteProperties;
    cb->get_properties.callback = [](SmsConn c, SmPointer) { SmsReturnProperties(c, 0, nullptr); };
    *mask = 0x3ff; // every callback above
    return 1;
}

void command(const std::string &line)
{
    if (client == nullptr) {
        std::printf("no client for %s\n", line.c_str());
    } else if (line == "checkpoint") {
        SmsSaveYourself(client, SmSaveBoth, False, SmInteractStyleNone, False);
    } else if (line == "logout") {
        loggingOut = true;
        SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleNone, False);
    }
}

} // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    char error[256] = "";
    // No authentication: the client runs as the same user on this machine.
    if (!SmsInitialize(
            "murelin-test", "1", newClient, nullptr, [](char *) { return True; }, sizeof error,
            error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    IceSetIOErrorHandler([](IceConn) {});
    int count = 0;
    IceListenObj *listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], [](char *) { return True; });
    char *address = IceComposeNetworkIdList(count, listeners);
    std::printf("SESSION_MANAGER=%s\n", address);
    std::free(address);

    IceConn ice = nullptr;
    std::string input;
    bool inputOpen = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!closed && std::chrono::steady_clock::now() < end) {
        // The input, the client's connection and the listeners.
        std::vector<pollfd> fds {
            {inputOpen ? 0 : -1, POLLIN, 0}, {ice ? IceConnectionNumber(ice) : -1, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        if (poll(fds.data(), fds.size(), 200) <= 0)
            continue;
        for (std::size_t i = 2; i < fds.size(); ++i) {
            IceAcceptStatus status;
            if ((fds[i].revents & POLLIN) && ice == nullptr)
                ice = IceAcceptConnection(listeners[i - 2], &status);
        }
        if (fds[0].revents) {
            char buffer[256];
            const ssize_t n = read(0, buffer, sizeof buffer);
            inputOpen = n > 0;
            input.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            for (std::size_t eol; (eol = input.find('\n')) != std::string::npos;) {
                command(input.substr(0, eol));
                input.erase(0, eol + 1);
            }
        }
        if (ice && fds[1].revents
            && IceProcessMessages(ice, nullptr, nullptr) != IceProcessMessagesSuccess)
            closed = true;
    }
    if (client)
        SmsCleanUp(client);
    if (ice)
        IceCloseConnection(ice);
    IceFreeListenObjs(count, listeners);
    std::puts(closed ? "closed" : "gave up");
    return closed ? 0 : 1;
}
