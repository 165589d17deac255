// Moving the phone between the folders of a walk. A walk trusts only a folder the phone has
// confirmed: a change counts when ChangeFolder answered true and the file-access object's
// CurrentPath then shows the folder asked for. All the walks (delete, upload, copy to the
// desktop) move through these calls, so what a file-access object answers on a refusal
// matters in this one place.
#pragma once

#include "core/GString.h"
#include "obex/FTP.h"

namespace folder_steps {

// True when both name the same folder (two empty paths are the root).
bool SamePath(const GString& a, const GString& b);
// The path of the listed name inside folder, in CurrentPath form.
GString ChildPath(const GString& folder, const GString& name);

// Enters the folder listed under name in the current folder. False, without asking the
// phone, for a name that is not safe to enter (see IsSafeListedName); false when the phone
// refused or is not in that folder afterwards.
bool EnterListed(FTP& ftp, const GString& name);

// Goes back to path from anywhere: the root, then path. True only when the phone confirmed
// both steps and stands in path. On failure failedStep names the step that failed ("\\" or
// path), the way the questions show it.
bool ReturnTo(FTP& ftp, const GString& path, GString& failedStep);

}  // namespace folder_steps
