// Reading one file of a copy out of the phone. A folder-browsing phone looks a name up in
// its current folder only, so the phone is taken to the file's folder, asked for the file by
// its own name, and brought back to the folder the copy started in.
#pragma once

#include "core/GString.h"
#include "filemanager/PhoneTreeWalk.h"
#include "obex/FTP.h"
#include "obex/FileSink.h"
#include "obex/Progress.h"

struct FetchOutcome {
    bool whole = false;  // the sink holds the whole file
    // The phone could not be brought back to the starting folder: nothing more may be asked
    // of it by name until the folder is known again.
    bool lost = false;
};

// item belongs to a set collected in the folder start (see PhoneTreeWalk). Its bytes go to
// sink; an item without a size is read to its end.
FetchOutcome FetchPhoneFile(FTP& ftp, const GString& start, const PhoneItem& item, FileSink& sink,
                            OperationProgress* progress);
