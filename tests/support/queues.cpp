#include "support/queues.h"

#include <mutex>

#include "input/key_events.h"

void queuekeyvalue(int64_t value)
{
    t_Event event;
    event.Kind = 1;
    event.Value = value;
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    t_KeyEvents.push_back(event);
    t_KeyEventAvailable = true;
}
