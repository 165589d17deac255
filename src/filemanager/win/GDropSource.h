// The source side of a drag started in the file manager: the drop happens when the left
// button is let go, Esc cancels, and the system draws the cursors.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <atomic>

class GDropSource final : public IDropSource {
public:
    GDropSource() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    ~GDropSource() = default;

    std::atomic<LONG> references{1};
};
