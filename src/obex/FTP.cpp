#include "obex/FTP.h"

#include "transport/Socket.h"

namespace {
// A phone that never stops talking must not keep DrainInput spinning for ever.
constexpr uint32_t kMaxDrainBytes = 1024 * 1024;
}  // namespace

void FolderObject::SetExtensionFromName()
{
    const char* text = name.CStr();
    int32_t dot = -1;
    for (uint32_t i = 0; i < name.Length(); ++i) {
        if (text[i] == '.')
            dot = static_cast<int32_t>(i);
    }
    if (dot < 0)
        extension = "";
    else
        extension.Assign(text + dot, name.Length() - static_cast<uint32_t>(dot));
}

FTP::~FTP()
{
    entries.DeleteAll();
    pathParts.DeleteAll();
    localFile.Close();
}

bool FTP::GetFile(FolderObject*, FileSink&, OperationProgress*)
{
    return false;
}

bool FTP::ChangeFolder(const GString&)
{
    return false;
}

bool FTP::CreateFolder(const GString&)
{
    return false;
}

bool FTP::RenameObject(const GString&, const GString&)
{
    return false;
}

void FTP::DrainInput()
{
    if (socket == nullptr)
        return;
    uint8_t byte;
    for (uint32_t n = 0; n < kMaxDrainBytes; ++n) {
        if (socket->Read(&byte, 1) <= 0)
            return;
    }
}

int FTP::LastError()
{
    return static_cast<int>(errorCode);
}

bool FTP::CanCopyFromDevice()
{
    return true;
}

bool FTP::CanDelete()
{
    return true;
}

bool FTP::CanCreateFolder()
{
    return true;
}

bool FTP::CanRename()
{
    return true;
}

GString FTP::CurrentPath(const List<GString>* parts) const
{
    GString path;
    if (!connected)
        return path;
    ListIterator<GString> it(parts != nullptr ? *parts : pathParts);
    for (it.First(); !it.IsDone(); it.Next()) {
        if (it.Position() > 1)
            path.AppendChar('\\');
        path.Append(*it.CurrentItem());
    }
    return path;
}
