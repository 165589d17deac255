#include "core/Subject.h"

#include "resources/resource.h"

Subject::~Subject()
{
    observers.RemoveAll();
}

void Subject::Attach(Observer* observer)
{
    observers.Append(observer);
}

void Subject::Detach(Observer* observer)
{
    observers.Remove(observer);
}

void Subject::Notify()
{
    ListIterator<Observer> it(observers);
    for (it.First(); !it.IsDone(); it.Next())
        it.CurrentItem()->Update(this);
}

bool CommandStateSubject::IsCommandEnabled(uint32_t id) const
{
    switch (id) {
    case IDM_REFRESH: return refresh;
    case IDM_CUT: return cut;
    case IDM_COPY: return copy;
    case IDM_PASTE: return paste;
    case IDM_DELETE: return remove;
    case IDM_RENAME: return rename;
    case IDM_SELECT_ALL: return selectAll;
    case IDM_EXPLORER: return explorer;
    case IDM_INFORMATION: return information;
    case IDM_VIEW_LARGE_ICONS:
    case IDM_VIEW_SMALL_ICONS:
    case IDM_VIEW_LIST:
    case IDM_VIEW_DETAILS: return viewStyle;
    case IDM_PORTS:
    case IDM_RESCAN: return true;
    default: return false;
    }
}

void CommandStateSubject::Reset(bool notify)
{
    refresh = cut = copy = paste = remove = rename = selectAll = false;
    explorer = information = viewStyle = false;
    if (notify)
        Notify();
}
