#include "support/ScriptedSocket.h"

#include <algorithm>
#include <cstring>

#include "core/Clock.h"

ScriptedSocket::ScriptedSocket(TComm* port, int32_t channel) : Socket(port, channel) {}

ScriptedSocket::~ScriptedSocket() { Close(); }

bool ScriptedSocket::Open()
{
    ++openCalls;
    if (onOpen)
        onOpen();
    if (open)
        return true;
    if (!openResult)
        return false;
    open = true;
    SetPortOpen(true);
    return true;
}

bool ScriptedSocket::Close()
{
    if (open) {
        ++closeCalls;
        open = false;
        SetPortOpen(false);
    }
    return true;
}

bool ScriptedSocket::IsOpen() { return open; }

void ScriptedSocket::Purge() { ++purgeCalls; }

int32_t ScriptedSocket::Read(void* buffer, int32_t count)
{
    ++readCalls;
    int32_t got = 0;
    char* out = static_cast<char*>(buffer);
    int32_t limit = bytePerRead ? std::min<int32_t>(count, 1) : count;
    while (got < limit && !steps.empty()) {
        Step& step = steps.front();
        if (step.kind == Kind::Silence) {
            if (got == 0)
                steps.pop_front();
            break;
        }
        if (step.kind == Kind::Expect)
            break;
        size_t take = std::min(step.bytes.size() - step.read, static_cast<size_t>(limit - got));
        std::memcpy(out + got, step.bytes.data() + step.read, take);
        step.read += take;
        got += static_cast<int32_t>(take);
        if (step.read == step.bytes.size())
            steps.pop_front();
    }
    if (got == 0) {
        ++silentReads;
        if (silenceCostMs != 0)
            SleepMs(silenceCostMs);
    }
    return got;
}

int32_t ScriptedSocket::Write(const void* data, int32_t count)
{
    int32_t length = WriteLength(data, count);
    std::string bytes(static_cast<const char*>(data), static_cast<size_t>(length));
    writes.push_back(bytes);
    pendingWrite += bytes;
    MatchWrites();
    return writeResult >= 0 ? writeResult : length;
}

void ScriptedSocket::MatchWrites()
{
    while (!pendingWrite.empty()) {
        auto expect = std::find_if(steps.begin(), steps.end(),
                                   [](const Step& s) { return s.kind == Kind::Expect; });
        if (expect == steps.end()) {
            std::string written;
            written.swap(pendingWrite);
            if (responder) {
                std::string answer = responder(written);
                if (!answer.empty())
                    steps.push_back(Step{Kind::Data, answer, {}, 0});
            } else {
                unexpected.push_back(written);
            }
            return;
        }
        const std::string& wanted = expect->bytes;
        size_t n = std::min(wanted.size(), pendingWrite.size());
        if (wanted.compare(0, n, pendingWrite, 0, n) != 0) {
            unexpected.push_back(pendingWrite);
            pendingWrite.clear();
            return;
        }
        if (pendingWrite.size() < wanted.size())
            return;  // the rest of the command is still to come
        pendingWrite.erase(0, wanted.size());
        if (expect->answer.empty()) {
            steps.erase(expect);
        } else {
            expect->kind = Kind::Data;
            expect->bytes = expect->answer;
            expect->answer.clear();
        }
    }
}

ScriptedSocket& ScriptedSocket::Feed(const std::string& bytes)
{
    if (!bytes.empty())
        steps.push_back(Step{Kind::Data, bytes, {}, 0});
    return *this;
}

ScriptedSocket& ScriptedSocket::Feed(const std::vector<uint8_t>& bytes)
{
    return Feed(std::string(bytes.begin(), bytes.end()));
}

ScriptedSocket& ScriptedSocket::Silence(int times)
{
    for (int i = 0; i < times; ++i)
        steps.push_back(Step{Kind::Silence, {}, {}, 0});
    return *this;
}

ScriptedSocket& ScriptedSocket::Expect(const std::string& write, const std::string& answer)
{
    steps.push_back(Step{Kind::Expect, write, answer, 0});
    return *this;
}

void ScriptedSocket::SetResponder(std::function<std::string(const std::string&)> r)
{
    responder = std::move(r);
}

std::string ScriptedSocket::AllWritten() const
{
    std::string all;
    for (const std::string& w : writes)
        all += w;
    return all;
}
