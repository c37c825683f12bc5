#pragma once

namespace ui {

// The wait cursor while it lives, shown at once (also before the next event is handled): the pupil sees
// that the program is working, for instance while it waits for another computer to free the archive.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Whether a BusyCursor is in place now (tests).
    static bool active();
};

}  // namespace ui
