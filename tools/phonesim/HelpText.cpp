#include "SimOptions.h"

std::string HelpText() {
  return R"(phonesim: a mobile phone at the far end of a pseudo-terminal.

Creates a pty, keeps its own handle of the slave side open (so a program that closes and
reopens the port never causes a hangup), prints "READY <slave path>" on stdout and then
answers AT commands and, in OBEX mode, OBEX requests. Exits on SIGINT/SIGTERM, removing
the link and stopping any obexftpd it started.

Connection
  --link PATH            symlink PATH to the slave side (a stale symlink there is replaced)
  --control PORT         connect to 127.0.0.1:PORT, send "READY <slave>\n" once the link
                         exists, exit when that connection closes. Commands, one per line:
                           STATS  -> "in=<bytes from PC> out=<bytes to PC>"
                           MODE?  -> "at", "obex" or "cut" (the line was closed)
                           OBEX-FAIL OP=CODE[:COUNT] -> "OK": one more --obex-fail rule
                                  from now on (its count starts now)
                           QUIT   -> "BYE", then exit
                         anything else -> "ERR <line>"
  --baud N               run the line at N baud both ways (50..4000000): every byte takes
                         ten bit times (start, eight data bits, stop) after the one before
                         it, so answers come no faster than a phone's cable or infrared link
                         sends them, and the phone takes in the PC's bytes no faster (beyond
                         a 4 KiB receive buffer they wait in the pty). Default: pty speed
  --log FILE             every byte each way (hex and printable) with timestamps, plus notes
                         on mode changes, OBEX requests and the line speed the PC set (noted
                         with the first bytes that follow a change)
  --help                 this text

Phone
  --profile NAME         generic|nokia|siemens|samsung (default generic): identity answers to
                         AT+CGMI, AT+CGMM, AT+CGSN, AT+CGMR and in telecom/devinfo.txt.
                         siemens: AT^SQWE=3 switches to OBEX mode, AT^SQWE=0 answers OK,
                         the Siemens OBEX target and memory query are served.
                         nokia, generic, samsung: AT^SQWE answers ERROR.
  --manufacturer TEXT    override the profile's manufacturer
  --model TEXT           override the model
  --serial TEXT          override the serial number (IMEI)
  --revision TEXT        override the software revision
  --start-in-obex        the line starts in OBEX mode, as a phone left there by an earlier
                         session: AT text gets no answer until "+++"
  --guard MS             silence required before "+++" leaves OBEX mode (default 500)

AT mode: echo is on until ATE0 (ATZ turns it on again); answers are framed as
"\r\n<line>\r\n", finals as "\r\nOK\r\n" or "\r\nERROR\r\n"; unknown commands get ERROR,
lines not starting with AT get nothing. In OBEX mode every byte goes to the OBEX server
until "+++" arrives after the guard time of silence.

OBEX server (a fresh session each time the line enters OBEX mode)
  --obex own|obexftpd    own (default): the simulator's server on OpenOBEX, or a relay to
                         "obexftpd -c ROOT -n 127.0.0.1:PORT" started on a free port
  --root DIR             folder tree served (default: a temporary sample tree, removed at exit)
  --max-packet N         own server's maximum packet, 255..65535 (default 1024); a longer
                         request is answered 0xCD and never reaches the server
  --memory BYTES         total memory in the Siemens memory query (default 16777216); free
                         = total - bytes in the tree; a PUT beyond the free memory gets 0xCD
  --strict-connection-id own server: a session opened with a target (whose CONNECT answer
                         carries a Connection Id, new for each session) refuses with 0xD3
                         every request, GET continuations included, that lacks that id
The own server accepts CONNECT with the folder-browsing target, the Siemens target (siemens
profile), "IRMC-SYNC" or no target; with the last two only GET by name and PUT work.
SETPATH: flag 0x01 first goes up one level (0xC4 at the top), then a name enters that
folder (creating it unless flag 0x02 is set); an empty or missing name without 0x01 goes
to the top. GET sends one packet per request, a file led by a Length header, the last
packet in End-of-Body; with folder browsing a GET name is looked up in the current folder
only (a name holding '/' or '\' gets 0xC4); telecom/devinfo.txt is made from the profile
unless stored. A PUT
with no body deletes (a folder only when empty); a PUT carrying only the application
parameters "move", old and new name renames; ACTION copies (0x00) or moves (0x01).
"+++" itself gets no answer.

Line faults (counted over all bytes sent to the PC, echo included)
  --delay MS             hold every answer MS ms before sending it (the AT echo is not
                         held, but never overtakes an earlier answer)
  --silence-after N      send nothing beyond the first N bytes
  --garbage N[@OFF]      insert N junk bytes (0x80..0xFF) before output byte OFF (default 0:
                         ahead of the first answer)
  --cut-at N             after N bytes close both sides of the pty and remove the link: the
                         port reads nothing more
  --drop-final[=CMD]     never send final result lines; with =CMD only for that command
                         (e.g. --drop-final=+CGMM, --drop-final=Z)
  --stall-input-after N  take in only the first N bytes from the PC; the rest stays in the
                         pty, so the PC's writes stall once its buffer is full

OBEX faults (counts run over the whole run, across OBEX sessions; work with both servers
unless marked)
  --obex-fail OP=CODE[:COUNT]
                         answer requests OP with CODE (e.g. GET=0xC4, SETPATH=0xC3:1,
                         0x02=0xCD) without passing them to the server; OP is a name
                         (CONNECT DISCONNECT PUT GET SETPATH ACTION ABORT, with or without
                         the final bit) or an exact opcode byte; COUNT limits it to the first
                         COUNT such requests; CODE 0 swallows them without any answer.
                         Repeatable.
  --obex-stall-after N   pass N server responses, then swallow every later one
  --obex-bad-length K[:DELTA]
                         add DELTA (default 5, may be negative) to the length field of the
                         K-th server response; its bytes stay as they are
  --bad-listing KIND     own server only: raw-names (no XML escaping), no-space (a line break
                         after the element name), single-quotes (attribute values in '),
                         truncated (the document cut in the middle), empty (no body)
  --listing-extra FOLDER=NAME
                         own server only: the listing of FOLDER ('/'-separated from the top,
                         empty for the top) shows one more entry NAME, a folder when NAME ends
                         in '/'; nothing stands behind it ("..", "" or "a\b" as a phone
                         might list them). Repeatable.

Example
  phonesim --profile siemens --link build/win/ports/COM10 --root /tmp/phone --log sim.log
)";
}
