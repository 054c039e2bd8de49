// A host for the search benchmarks: it counts how often the event pump would
// run the window's events, with the same throttle as the window.
#pragma once

#include "core/host.h"

class ThrottledHost : public m8::Host {
 public:
  void pump() override {
    if (throttle_.due()) ++events;
  }
  long events = 0;

 private:
  m8::PumpThrottle throttle_;
};
