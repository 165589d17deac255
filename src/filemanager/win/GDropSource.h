// The source side of a drag started in the file manager: the drop happens when the left
// button is let go, Esc cancels, and the system draws the cursors.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "filemanager/win/ComObject.h"

class GDropSource final : public ComObject<IDropSource, IID_IDropSource> {
public:
    GDropSource() = default;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    ~GDropSource() = default;
};
