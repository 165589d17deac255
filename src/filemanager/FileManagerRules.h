// Decisions of the file manager window that need no window: what the end of a label edit
// does, which commands the context menu offers, the confirmations' texts and the layout of
// the path line.
#pragma once

#include <cstdint>

#include "core/GString.h"
#include "filemanager/ListLogic.h"
#include "toolkit/Geometry.h"

// The text of the placeholder item a new folder starts as.
constexpr const char* kNewFolderName = "Новая папка";

enum class LabelEditAction {
    Refuse,        // the label keeps its old text (a new folder's placeholder goes)
    Keep,          // nothing to do on the phone; the label stays as it is
    CreateFolder,  // create the folder `name`
    Rename,        // rename the edited object to `name`
};

struct LabelEditDecision {
    LabelEditAction action = LabelEditAction::Refuse;
    GString name;
};

// Whether the label of an item with this text may be edited ("..", the way up some phones
// list, may not).
bool MayEditLabel(const GString& text);
// The end of a label edit. oldName: the item's text when editing began; newFolder: the item
// is the placeholder of a new folder; edited: the text the edit ended with, null when it was
// cancelled (a cancelled new folder is still created, under the placeholder's text). A name
// the phone would read as a path (see IsSafeListedName) is refused.
LabelEditDecision DecideLabelEdit(const GString& oldName, bool newFolder, const char* edited);

struct PopupMenuStates {
    bool newFolder = false;
    bool copy = false;
    bool paste = false;
    bool remove = false;
    bool rename = false;
};

// The commands of the list's context menu, from what the file access can do and the command
// states of the current selection.
PopupMenuStates PopupStatesFor(const FileAccessCapabilities& capabilities,
                               const FileCommandStates& states);

// A confirmation's template text with the argument in place of its first "%s" or "%u"
// ("%%" gives '%'); the argument is never read as a format.
GString FillDialogText(const GString& pattern, const GString& argument);

// Where the path line puts its parts.
struct PathLineLayout {
    TRect up;          // the "Вверх" button
    TRect favourites;  // the "Путь:" button
    TRect field;       // the path field
    TPoint icon;       // the port icon's top-left corner
    int32_t textLeft = 0;
    int32_t height = 0;  // the strip's height
};

// textHeight: the height of the strip's font; natural: the buttons' sizes for their caption
// and image; icon: the port icon's size.
PathLineLayout LayOutPathLine(int32_t textHeight, int32_t upNaturalWidth,
                              int32_t favouritesNaturalWidth, int32_t clientWidth, TSize icon);

// After a size change only the right edge (and the bottom edge when the height changed) need
// painting again; the rectangles to repaint, count 1 or 2.
struct RepaintStrips {
    TRect strips[2];
    int count = 0;
};
RepaintStrips StripsToRepaint(const TRect& oldClient, const TRect& newClient);
