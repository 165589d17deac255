// The media store of Samsung phones that refuse the AT file system: sounds and pictures are
// listed, uploaded with a CRC-32 and deleted through the media AT commands, photos only
// listed. They appear as three virtual folders at the top; nothing can be read back.
#pragma once

#include <cstdint>

#include "core/Tokenizer.h"
#include "obex/FTP.h"

struct SamsungMediaCommands;  // the command set of one media folder

class SAMSUNG_AT_FTP : public FTP {
public:
    static constexpr uint32_t kDefaultMaxFileSize = 200000;
    static constexpr uint16_t kDefaultBlockSize = 1024;
    // errorCode of a file refused for being larger than maxFileSize (the size-limit question).
    static constexpr uint32_t kErrorFileTooLarge = 1050;
    // Uploads are read whole into memory; nothing a phone could hold comes near this.
    static constexpr uint32_t kMaxUploadBytes = 64 * 1024 * 1024;
    // A phone that keeps answering must still not grow a listing without bound.
    static constexpr uint32_t kMaxEntries = 65536;
    // '>' prompts accepted while waiting for the phone's verdict on an upload or deletion.
    static constexpr int kMaxClosingPrompts = 8;

    // The folder names as the user sees them.
    static const char* const kPictures;
    static const char* const kSounds;
    static const char* const kPhotos;

    // Until a media folder is listed the limit is the one phones report by default.
    SAMSUNG_AT_FTP() { maxFileSize = kDefaultMaxFileSize; }

    bool Connect(Socket* socket, const uint8_t* target, uint32_t targetLength) override;
    bool Disconnect() override;
    bool ReadFolder(WaitProgress* wait) override;
    bool PutFile(FileInformation* file, OperationProgress* progress) override;
    bool ChangeFolder(const GString& path) override;
    bool DeleteObject(const GString& name) override;
    bool CanCopyFromDevice() override;
    bool CanCreateFolder() override;
    bool CanRename() override;

    uint16_t BlockSize() const { return blockSize; }

private:
    // The media folder pathParts names, or null at the top and in any other folder.
    const SamsungMediaCommands* CurrentMedia() const;
    bool InFolder(const char* name) const;
    void AddFolder(const char* name);
    void ListMedia(const SamsungMediaCommands& media);
    void ListPhotos();
    // Sends a capacity or write-information command; true when a reply holding prefix came
    // (one more reply is read when the first lacks it).
    bool QueryWithPrefix(const char* command, const char* prefix);
    // Reads until byte c arrives (true), a line holding "OK" ends (true, result "OK"), a line
    // holding "ERROR" or "CRCERR" ends (false, result "ERROR"), or the phone falls silent.
    // A line that is the echo of command (ATZ turns the echo back on) is not judged.
    bool WaitForChar(char c, const GString* command = nullptr);
    // "AT+UPLL?": true when the phone itself answered "+UPLL:" and "OK", never its echo.
    bool QueryPhotos();
    // Waits past '>' prompts (the phone's, or the echo of ours) for the phone's "OK"; false on
    // an error line, silence, or more than kMaxClosingPrompts prompts.
    bool WaitForVerdict();
    bool SendContent(const uint8_t* data, uint32_t size, OperationProgress* progress);

    Tokenizer tokenizer;
    uint16_t blockSize = kDefaultBlockSize;
    uint32_t listCount = 0;
    uint32_t listLimit = 0;
};
