#include "core/Subject.h"

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
    case 303: return refresh;
    case 203: return cut;
    case 204: return copy;
    case 205: return paste;
    case 206: return remove;
    case 122: return rename;
    case 207: return selectAll;
    case 250: return explorer;
    case 252: return information;
    case 311:
    case 312:
    case 313:
    case 314: return viewStyle;
    case 401:  // the ports dialog
    case 402: return true;
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
