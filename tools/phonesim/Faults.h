#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Faults of the serial line, counted over every byte sent to the PC (echo included).
struct LineFaults {
  int delayMs = 0;                      // each answer leaves this long after its command came in
  std::optional<uint64_t> silenceAfter; // nothing is sent past this many bytes
  uint32_t garbageCount = 0;            // junk bytes inserted ...
  uint64_t garbageAt = 0;               // ... before this output byte
  std::optional<uint64_t> cutAt;        // the line is closed once this many bytes went out
  bool dropFinal = false;               // final result lines ("OK", "ERROR") are not sent ...
  std::string dropFinalCommand;         // ... only for this command when not empty ("+CGMM")
  std::optional<uint64_t> stallInputAfter;  // the phone takes in no more bytes from the PC
};

// A request the phone answers with a chosen code instead of passing it to the OBEX server.
struct ObexFailRule {
  uint8_t opcode = 0;
  bool eitherFinal = false;  // given by name: matches the opcode with and without the final bit
  uint8_t code = 0;
  uint32_t count = 0;        // how many requests to fail; 0 = all
};

// Malformed folder listings the own OBEX server can produce.
enum class ListingFault { None, RawNames, NoSpace, SingleQuotes, Truncated, Empty };

// Faults of the OBEX conversation. Counts run over the whole process, across OBEX sessions.
struct ObexFaults {
  std::vector<ObexFailRule> fail;
  std::optional<uint64_t> stallAfter;  // server responses passed on before the phone goes mute
  uint64_t badLengthAt = 0;            // 1-based number of the response whose length field lies
  int badLengthDelta = 5;
  ListingFault listing = ListingFault::None;
};

// An entry the own OBEX server adds to the listing of one folder though nothing stands
// behind it on disk: names a file system does not hold ("..", "", a name with a backslash),
// for the client to cope with.
struct ListingExtra {
  std::string folder;  // '/'-separated from the top, empty for the top
  std::string name;    // UTF-8, as it goes into the listing
  bool isFolder = false;
};
