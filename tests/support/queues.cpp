#include "support/queues.h"

#include "input/key_events.h"

void queuekeyvalue(int64_t value)
{
    t_Event event;
    event.Kind = 1;
    event.Value = value;
    queuekeyevent(event);
}
