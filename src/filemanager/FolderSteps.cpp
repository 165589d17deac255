#include "filemanager/FolderSteps.h"

#include "filemanager/ListedName.h"

namespace folder_steps {

bool SamePath(const GString& a, const GString& b)
{
    return (a.IsEmpty() && b.IsEmpty()) || a.Equals(b);
}

GString ChildPath(const GString& folder, const GString& name)
{
    if (folder.IsEmpty())
        return name;
    GString path(folder);
    path.AppendChar('\\');
    path.Append(name);
    return path;
}

bool EnterListed(FTP& ftp, const GString& name)
{
    if (!IsSafeListedName(name))
        return false;
    const GString expected = ChildPath(ftp.CurrentPath(), name);
    return ftp.ChangeFolder(name) && SamePath(ftp.CurrentPath(), expected);
}

bool ReturnTo(FTP& ftp, const GString& path, GString& failedStep)
{
    // A root request the phone refused may still answer true: CurrentPath tells.
    if (!ftp.ChangeFolder("\\") || !ftp.CurrentPath().IsEmpty()) {
        failedStep = "\\";
        return false;
    }
    if (path.IsEmpty())
        return true;
    if (!ftp.ChangeFolder(path) || !SamePath(ftp.CurrentPath(), path)) {
        failedStep = path;
        return false;
    }
    return true;
}

}  // namespace folder_steps
