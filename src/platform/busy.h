#pragma once
// The program-wide busy flag: up while a handler shows a box or a popup menu or does long work. Only
// the window procedure reads it: while it is up, losing the activation never closes the program.

namespace tavimo {

bool IsBusy();
void SetBusy(bool busy);

// Raises the flag for its scope and lowers it on every way out; a scope inside another busy handler
// leaves it raised for the outer one.
class BusyScope {
  public:
    BusyScope() : previous_(IsBusy()) { SetBusy(true); }
    ~BusyScope() { SetBusy(previous_); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool previous_;
};

} // namespace tavimo
