// The file system of Samsung phones through their proprietary AT commands on the ordinary AT
// channel: folders are listed, entered and left, files read in acknowledged blocks and
// deleted. The phone accepts no uploads, new folders or new names through it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Tokenizer.h"
#include "obex/FTP.h"

class SAMSUNG_AT_FS : public FTP {
public:
    // Bounds on what a phone may make us collect: one page of listing lines, and the whole
    // listing of a folder.
    static constexpr uint32_t kMaxPageBytes = 256 * 1024;
    static constexpr uint32_t kMaxListingBytes = 4 * 1024 * 1024;
    // Bytes tolerated before a block's "+FSFR:" and in each header field before its ','.
    static constexpr uint32_t kMaxHeaderNoise = 10;

    bool Connect(Socket* socket, const uint8_t* target, uint32_t targetLength) override;
    bool Disconnect() override;
    // False when the phone fell silent or the line was cut before the file listing ended.
    bool ReadFolder(WaitProgress* wait) override;
    // Reads the listed entry->size bytes (the phone's listing always gives the size). Once
    // every byte has arrived the read is whole, whatever closes it, unless the phone goes on
    // with another block.
    bool GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress) override;
    // The phone takes no files: nothing is sent and the answer is false.
    bool PutFile(FileInformation* file, OperationProgress* progress) override;
    bool ChangeFolder(const GString& path) override;
    bool DeleteObject(const GString& name) override;
    bool CanCreateFolder() override;
    bool CanRename() override;
    bool CanCopyToDevice() override;

private:
    // Reads lines until one contains marker (true) or the phone ends the exchange with "OK" or
    // an error line (false, the line in the socket's result), stops talking or overflows the
    // page. The lines read, marker line included, are joined in the socket's reply.
    bool WaitForMarker(const char* marker);
    // Writes command, the name in UTF-8 between double quotes, then end. False, with nothing
    // written, when the name cannot be sent.
    bool WriteNamed(const char* command, const GString& name, const char* end);
    // A final result that is exactly "OK" after something was read.
    bool ReadOk();
    void ParseFolders(std::string_view text);
    void ParseFiles(std::string_view text);
    // One block of at most limit bytes into block (blockLength says how many); false when
    // anything is amiss (the pending input is then discarded where the header was malformed).
    bool ReadBlock(std::vector<uint8_t>& block, uint32_t limit);
    // What follows the last byte of a file: the phone's closing marker and result, taken as
    // they come. False only when the phone sends another block.
    bool ReadClosing();
    // Reads a header field up to its ','; false on silence or more than kMaxHeaderNoise bytes.
    bool ReadHeaderField(std::string& field);

    Tokenizer tokenizer;
    uint16_t blockLength = 0;
};
