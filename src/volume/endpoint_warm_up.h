#pragma once
// The sound system's first use is the slowest part of opening the window: the first endpoint opened in
// a process loads the audio driver and connects it to the sound service. EndpointWarmUp does that on a
// worker thread while the window is being built, so that the window's first reading of the master level
// finds it ready. It touches no window and changes nothing; the window still reads the level itself.

#include "platform/unique_handle.h"

namespace tavimo {

class EndpointWarmUp {
  public:
    EndpointWarmUp() = default;
    EndpointWarmUp(const EndpointWarmUp&) = delete;
    EndpointWarmUp& operator=(const EndpointWarmUp&) = delete;
    ~EndpointWarmUp() { Wait(); }

    // Starts the worker; without a thread (none could be made) the first reading simply pays in full.
    void Start();
    // Returns once the worker has finished; at once when it never started or has finished already.
    void Wait();

  private:
    unique_handle thread_;
};

} // namespace tavimo
