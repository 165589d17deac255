#include "filemanager/win/ShellExchange.h"

#include <algorithm>

#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/IFileManagerStream.h"
#include "resources/resource.h"

ShellExchange::ShellExchange(FileManagerWindow* owner, OutgoingFiles offered)
    : files(std::move(offered)), window(owner), windowHandle(owner != nullptr ? owner->Handle() : nullptr)
{
}

void ShellExchange::StreamCreated(IFileManagerStream* stream) { streams.push_back(stream); }

void ShellExchange::StreamGone(IFileManagerStream* stream)
{
    streams.erase(std::remove(streams.begin(), streams.end(), stream), streams.end());
    if (streams.empty())
        NotifyWindow();
}

void ShellExchange::NotifyWindow() const
{
    if (window != nullptr)
        PostMessageA(windowHandle, QVM_FM_SHELL_CHECK, 0, 0);
}

void ShellExchange::Detach()
{
    window = nullptr;
    // Held while their connections are cut: cutting releases the receivers' references.
    std::vector<IFileManagerStream*> live = streams;
    for (IFileManagerStream* stream : live)
        stream->AddRef();
    for (IFileManagerStream* stream : live) {
        CoDisconnectObject(static_cast<IStream*>(stream), 0);
        stream->Release();
    }
}
