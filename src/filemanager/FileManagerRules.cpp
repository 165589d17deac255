#include "filemanager/FileManagerRules.h"

#include <algorithm>

#include "filemanager/ListedName.h"

bool MayEditLabel(const GString& text) { return !text.Equals(".."); }

LabelEditDecision DecideLabelEdit(const GString& oldName, bool newFolder, const char* edited)
{
    LabelEditDecision decision;
    if (!MayEditLabel(oldName))
        return decision;
    if (newFolder) {
        decision.name.Assign(edited != nullptr ? edited : oldName.CStr());
        if (IsSafeListedName(decision.name))
            decision.action = LabelEditAction::CreateFolder;
        return decision;
    }
    if (edited == nullptr || oldName.Equals(edited)) {
        decision.action = LabelEditAction::Keep;
        return decision;
    }
    decision.name.Assign(edited);
    if (IsSafeListedName(decision.name))
        decision.action = LabelEditAction::Rename;
    return decision;
}

PopupMenuStates PopupStatesFor(const FileAccessCapabilities& capabilities,
                               const FileCommandStates& states)
{
    PopupMenuStates popup;
    popup.newFolder = capabilities.createFolder;
    popup.copy = states.copy;
    popup.paste = states.paste;
    popup.remove = states.del;
    popup.rename = states.rename;
    return popup;
}

GString FillDialogText(const GString& pattern, const GString& argument)
{
    GString out;
    bool filled = false;
    const char* p = pattern.CStr();
    const char* plain = p;
    for (; *p != '\0'; ++p) {
        if (p[0] != '%')
            continue;
        const bool placeholder = !filled && (p[1] == 's' || p[1] == 'u');
        if (!placeholder && p[1] != '%')
            continue;
        out.Append(plain, static_cast<uint32_t>(p - plain));
        if (placeholder) {
            out.Append(argument);
            filled = true;
        } else {
            out.AppendChar('%');
        }
        ++p;
        plain = p + 1;
    }
    out.Append(plain);
    return out;
}

PathLineLayout LayOutPathLine(int32_t textHeight, int32_t upNaturalWidth,
                              int32_t favouritesNaturalWidth, int32_t clientWidth, TSize icon)
{
    PathLineLayout layout;
    const int32_t buttonHeight = textHeight + 10;
    const int32_t upWidth = upNaturalWidth + 2;
    const int32_t favouritesWidth = favouritesNaturalWidth + 2;
    layout.height = textHeight + 13;
    layout.up = TRect(1, 2, 1 + upWidth, 2 + buttonHeight);
    layout.favourites = TRect(layout.up.right, 2, layout.up.right + favouritesWidth, 2 + buttonHeight);
    layout.field = TRect(upWidth + favouritesWidth + 2, 2, std::max(clientWidth - 2, upWidth + favouritesWidth + 2),
                         layout.height - 1);
    layout.icon = TPoint(layout.field.left + 3, layout.field.top + (layout.field.Height() - icon.cy) / 2);
    layout.textLeft = layout.icon.x + icon.cx + 2;
    return layout;
}

RepaintStrips StripsToRepaint(const TRect& oldClient, const TRect& newClient)
{
    RepaintStrips result;
    const int32_t right = std::min(oldClient.right, newClient.right) - 5;
    result.strips[result.count++] = TRect(right, newClient.top, newClient.right, newClient.bottom);
    if (oldClient.Height() != newClient.Height()) {
        const int32_t bottom = std::min(oldClient.bottom, newClient.bottom) - 3;
        result.strips[result.count++] = TRect(newClient.left, bottom, newClient.right, newClient.bottom);
    }
    return result;
}
