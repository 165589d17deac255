// OBEX folder browsing over any Socket: the packet codec and connection, the folder-listing
// parser and the file operations built on them.
#pragma once

#include <cstdint>
#include <string>

#include "obex/FTP.h"
#include "obex/RequestWriter.h"

class OBEX_FTP : public FTP {
public:
    static constexpr uint32_t kBufferSize = 32768;  // also what CONNECT announces
    static constexpr uint32_t kMinPeerPacket = 255;
    // Largest object GetNamedObject / GetTypedObject collect in memory.
    static constexpr uint32_t kMaxObjectSize = 16u * 1024 * 1024;
    // "Continue" answers in a row that bring no data before a GET is given up.
    static constexpr uint32_t kMaxIdleResponses = 64;
    static constexpr uint32_t kNameUnits = 255;  // UTF-16 units of a name, terminator included

    // Response codes the operations take as good.
    static bool IsGoodCode(uint8_t code);

    OBEX_FTP();
    ~OBEX_FTP() override;

    bool Connect(Socket* socket, const uint8_t* target, uint32_t targetLength) override;
    bool Disconnect() override;
    bool ReadFolder(WaitProgress* wait) override;
    bool GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress) override;
    bool PutFile(FileInformation* file, OperationProgress* progress) override;
    bool ChangeFolder(const GString& path) override;
    bool CreateFolder(const GString& name) override;
    bool DeleteObject(const GString& name) override;
    bool RenameObject(const GString& oldName, const GString& newName) override;
    int LastError() override;
    // Body bytes of the named object; output is emptied first. (Not called GetObject: a
    // <windows.h> macro of that name would rename it in Win32 callers.)
    virtual uint32_t GetNamedObject(const GString& name, GString& output);
    // Body bytes of the object of the given type (and name, when not null). A listing (a
    // type with progressWindow set) steps the wait panel per packet and stops when it is
    // cancelled.
    virtual uint32_t GetTypedObject(GString& output, const GString* name, const char* type);

    // Siemens memory figure: which = 1 total, 2 free. 0 when the phone gives none.
    uint32_t QueryMemory(uint8_t which);

    // Rebuilds entries from listingText; always true.
    bool ParseListing();
    // Fills time from a listing date "YYYYMMDDTHHMMSS[Z]"; an empty text leaves it as it is.
    static void ParseListingTime(SystemTime& time, const char* text, uint32_t length);

    uint8_t request[kBufferSize];
    int32_t requestLength = 0;
    uint8_t response[kBufferSize];
    uint16_t responseLength = 0;
    uint32_t peerMaxPacket = kMinPeerPacket;
    // The Connection Id the phone gave with its CONNECT answer; sent first in every later
    // request of the session.
    bool hasConnectionId = false;
    uint32_t connectionId = 0;

    GString listingText;
    uint32_t parsePos = 1;
    GString element;
    GString tagName;
    GString attributeValue;

protected:
    // Sends the requestLength bytes of request in one Write; false on a short write.
    bool SendRequest();
    // A request with its fixed fields, followed by the Connection Id header when the phone
    // gave one.
    RequestWriter StartRequest(uint8_t opcode, const uint8_t* fields = nullptr,
                               uint32_t fieldCount = 0);
    // Finishes the request and sends it; false when it did not fit or was not written.
    bool Send(RequestWriter& writer);
    // A Name-style header (Name, DestName) holding name in UTF-16 big-endian; false when the
    // name does not convert or fit.
    bool PutName(RequestWriter& writer, uint8_t id, const GString& name, bool terminator);
    // Reads and judges one response into response / responseLength.
    bool ReadResponse();
    // Sends ABORT and reads its answer like any response; true when the phone took it.
    bool Abort();
    // Clamps and rounds the maximum packet the phone announced.
    void SetPeerMaxPacket(uint32_t announced);
    // The good CONNECT answer in response: connected, with the phone's maximum packet
    // (clamped, also when the answer is too short to state it) and its Connection Id.
    void TakeConnectAnswer();
    // Converts name to UTF-16 big-endian at out (terminator included when asked); answers the
    // byte count, or -1 when the name does not convert, does not fit kNameUnits or cap.
    int32_t EncodeName(const GString& name, uint8_t* out, uint32_t cap, bool terminator);
    bool IsSerialPort() const;
    // SETPATH with the flags and a Name header (terminated or not); false when the name does
    // not convert (nothing is sent) or the phone refused.
    bool SendSetPath(uint8_t flags, const GString& name, bool terminator);
    // SETPATH to the top of the tree; true when the phone confirmed it.
    bool SendSetPathTop();

    // Finds the first header with the id (or, for FindBody, the first Body or End-of-Body)
    // at or after pos, walking the headers of the response by their encodings; -1 when none
    // lies completely inside the response.
    int32_t FindHeader(uint32_t pos, uint8_t id) const;
    int32_t FindBody(uint32_t pos) const;
    // Runs the continuation loop from the good response in hand, handing each body chunk to
    // sink (which answers false to stop). Continue responses that bring no data are
    // followed up, kMaxIdleResponses in a row at most; a wait that is cancelled stops the
    // loop before the next request. Giving up sends ABORT. True when the object ended,
    // false when the phone broke off, the sink stopped or the loop gave up.
    template <class Sink>
    bool BodyLoop(Sink&& sink, WaitProgress* wait);
    bool SendContinuation();

    bool NextElement();
    bool ReadAttribute(const char* name);

private:
    uint32_t noCloseFrom = 0;  // a "/>" search from here or later finds nothing
};
