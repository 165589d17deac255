#include "support/ScriptedSocketFactory.h"

#include <algorithm>

class LoggedSocket : public ScriptedSocket {
public:
    LoggedSocket(ScriptedSocketFactory& factory, TComm* port, int32_t channel)
        : ScriptedSocket(port, channel), factory(factory) {}
    ~LoggedSocket() override
    {
        Close();
        factory.log.push_back("delete " + std::to_string(channel));
        auto& alive = factory.alive;
        alive.erase(std::remove(alive.begin(), alive.end(), this), alive.end());
    }
    bool Open() override
    {
        bool ok = ScriptedSocket::Open();
        factory.log.push_back((ok ? "open " : "open failed ") + std::to_string(channel));
        return ok;
    }
    bool Close() override
    {
        if (IsOpen())
            factory.log.push_back("close " + std::to_string(channel));
        return ScriptedSocket::Close();
    }

private:
    ScriptedSocketFactory& factory;
};

Socket* ScriptedSocketFactory::CreateSocket(TComm& port, int32_t channel)
{
    auto* socket = new LoggedSocket(*this, &port, channel);
    created.push_back(channel);
    alive.push_back(socket);
    if (failing[channel])
        socket->SetOpenResult(false);
    auto setup = setups.find(channel);
    if (setup != setups.end())
        setup->second(*socket);
    return socket;
}

void ScriptedSocketFactory::Script(int32_t channel, std::function<void(ScriptedSocket&)> setup)
{
    setups[channel] = std::move(setup);
}

void ScriptedSocketFactory::FailOpen(int32_t channel) { failing[channel] = true; }

ScriptedSocket* ScriptedSocketFactory::Last(int32_t channel) const
{
    for (auto it = alive.rbegin(); it != alive.rend(); ++it) {
        if ((*it)->channel == channel)
            return *it;
    }
    return nullptr;
}
