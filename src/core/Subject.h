// Observer pair, and the subject that carries the enabled state of the user commands (the main
// menu and the toolbar observe it and ask IsCommandEnabled for each of their items).
#pragma once

#include "core/List.h"

#include <cstdint>

class Subject;

class Observer {
public:
    virtual ~Observer() = default;
    virtual void Update(Subject* subject) = 0;
};

// Does not own its observers; an observer detaches itself before it dies, and not from
// inside Update.
class Subject {
public:
    Subject() = default;
    Subject(const Subject&) = delete;
    Subject& operator=(const Subject&) = delete;
    virtual ~Subject();
    virtual void Attach(Observer* observer);  // no duplicate check
    virtual void Detach(Observer* observer);  // first occurrence
    virtual void Notify();                    // in the order of attachment

private:
    List<Observer> observers;
};

class CommandStateSubject : public Subject {
public:
    // The windows that own the commands set these and then call Notify.
    bool refresh = false;      // 303
    bool cut = false;          // 203
    bool copy = false;         // 204
    bool paste = false;        // 205
    bool remove = false;       // 206
    bool rename = false;       // 122
    bool selectAll = false;    // 207
    bool explorer = false;     // 250
    bool information = false;  // 252
    bool viewStyle = false;    // 311 to 314

    // The flag of the command; 401 and 402 are always enabled, unknown ids never.
    bool IsCommandEnabled(uint32_t id) const;
    // Clears every flag, then notifies when asked to.
    void Reset(bool notify);
};
