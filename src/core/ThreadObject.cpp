#include "core/ThreadObject.h"

void ThreadObject::RequestStop() { stopRequested.store(true); }

unsigned ThreadObject::ThreadMain(void* object)
{
    auto* self = static_cast<ThreadObject*>(object);
    self->Prepare();
    self->Run();
    // The last touch of the object: once running is false the owner may start it again or
    // destroy it after Wait.
    self->running.store(false);
    return 0;
}
