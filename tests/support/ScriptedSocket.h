// A Socket for tests: what the "phone" sends comes from a script, what the program writes is
// recorded. Works in both builds and needs no port (the port may be null).
//
// The script is a queue of steps, consumed in order:
//   Feed(bytes)            bytes that reads deliver;
//   Silence()              one read that reaches this point returns 0 (a time-out);
//   Expect(write, answer)  the program must write `write` (possibly over several Write
//                          calls); once it has, `answer` becomes readable at this point.
// Reads deliver queued bytes up to the requested count, or one byte per call with
// SetBytePerRead(true), and stop at a Silence step or at an Expect that has not been met
// (the phone waits for its command): such a read returns 0. An empty script reads as 0.
// A write is matched against the first Expect step of the queue, even when unread bytes
// lie before it (a phone's leftovers stay in the line). A write that matches no Expect step
// goes to the responder when one is set (its answer is queued at the end), else it is
// listed in Unexpected(); a write that contradicts the expected bytes is listed there too
// and answered with nothing.
//
//   ScriptedSocket s;
//   s.SetBytePerRead(true);
//   s.Expect("ATZ\r", "\r\nOK\r\n").Expect("ATE0\r", "\r\nOK\r\n");
//   ... code under test ...
//   EXPECT_TRUE(s.Done());             // every step consumed
//   EXPECT_TRUE(s.Unexpected().empty());
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "transport/Socket.h"

class ScriptedSocket : public Socket {
public:
    explicit ScriptedSocket(TComm* port = nullptr, int32_t channel = 0);
    ~ScriptedSocket() override;

    bool Open() override;
    bool Close() override;
    bool IsOpen() override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;
    void Purge() override;

    // --- script ---
    ScriptedSocket& Feed(const std::string& bytes);
    ScriptedSocket& Feed(const std::vector<uint8_t>& bytes);
    ScriptedSocket& Silence(int times = 1);
    ScriptedSocket& Expect(const std::string& write, const std::string& answer = std::string());
    // Called with each write that no Expect step takes; its return value is queued at the
    // end of the script (an empty answer queues nothing).
    void SetResponder(std::function<std::string(const std::string& written)> responder);

    // --- behaviour ---
    void SetBytePerRead(bool on) { bytePerRead = on; }
    // Virtual milliseconds a read returning 0 takes (through the Clock seam), so code that
    // waits on a virtual clock sees time pass as on a real line. 0 by default.
    void SetSilenceCostMs(uint32_t ms) { silenceCostMs = ms; }
    // Open answers this (true by default); a failed Open leaves the socket closed.
    void SetOpenResult(bool ok) { openResult = ok; }
    // Write answers this count instead of the length (negative: the real length).
    void SetWriteResult(int32_t count) { writeResult = count; }
    // Called on Open, before the result is decided (to count or order calls across sockets).
    void SetOnOpen(std::function<void()> hook) { onOpen = std::move(hook); }

    // --- inspection ---
    const std::vector<std::string>& Writes() const { return writes; }  // one entry per Write
    std::string AllWritten() const;
    const std::vector<std::string>& Unexpected() const { return unexpected; }
    bool Done() const { return steps.empty(); }  // every step consumed
    int openCalls = 0;
    int closeCalls = 0;
    int purgeCalls = 0;
    int readCalls = 0;
    int silentReads = 0;  // reads that returned 0

private:
    enum class Kind { Data, Silence, Expect };
    struct Step {
        Kind kind;
        std::string bytes;   // Data: what reads deliver; Expect: what must be written
        std::string answer;  // Expect only
        size_t read = 0;     // Data: bytes already delivered
    };

    void MatchWrites();

    std::deque<Step> steps;
    std::string pendingWrite;  // written bytes not yet matched
    std::vector<std::string> writes;
    std::vector<std::string> unexpected;
    std::function<std::string(const std::string&)> responder;
    std::function<void()> onOpen;
    bool open = false;
    bool bytePerRead = false;
    bool openResult = true;
    int32_t writeResult = -1;
    uint32_t silenceCostMs = 0;
};
