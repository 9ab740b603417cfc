// hwSample: one OpenAL buffer holding a whole decoded sound, and the discard list that deletes buffers late.
// Depends on OpenAL and the runtime's Object. OpenAL refuses to delete a buffer that a source still holds,
// so a released buffer waits in hwSample::discarded until a flush finds it free; the flush runs whenever the
// device loads or plays a sample.
#pragma once

#include <AL/al.h>

#include <vector>

#include "runtime/object.h"

class hwSample : public Object {
public:
    hwSample() = default;
    explicit hwSample(ALuint buffer) : buffer(buffer) {}
    // Hands the buffer to the discard list.
    ~hwSample() override { Discard(); }

    // Replaces the buffer; a buffer already held goes to the discard list rather than being lost.
    void SetBuffer(ALuint newBuffer);
    // Moves the buffer (if any) to the discard list; the sample is empty afterwards.
    void Discard();

    ALuint buffer = 0;  // 0: empty

    // Buffers released by samples and not yet deleted.
    static std::vector<ALuint> discarded;
};

// Detaches buffers from channels whose sound has ended, then deletes every discarded buffer that no source
// holds any more; the rest stay listed for the next flush. Does nothing while the list is empty.
void FlushDiscarded();
