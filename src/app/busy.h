#pragma once
// The program-wide busy flag: up while a handler shows a box or a popup menu or does long work. Only
// the window procedure reads it: while it is up, losing the activation never closes the program.

namespace tavimo {

bool IsBusy();
void SetBusy(bool busy);

// Raises the flag for its scope and lowers it on every way out.
class BusyScope {
public:
    BusyScope() { SetBusy(true); }
    ~BusyScope() { SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

} // namespace tavimo
