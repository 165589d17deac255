// Names that come from a phone's listing: which of them may be entered or deleted, and how a
// name is made safe to show to the desktop as a file name.
#pragma once

#include "core/GString.h"

// False for "", ".", ".." and names holding '\\' or '/': entering or deleting such a name
// would reach another folder than the listing shows (the phone, and ChangeFolder, read them
// as paths).
bool IsSafeListedName(const GString& name);

// The name as a desktop file name: \ / : * ? " < > | and control characters become '_';
// "", "." and ".." become "_". Only what the desktop sees changes; the phone is always asked
// under the real name.
GString DesktopSafeName(const GString& name);
